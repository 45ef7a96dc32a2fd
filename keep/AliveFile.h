#pragma once

#include <windows.h>

#include <string>

// A file the kept program writes as it plays (a log, a "last frame" stamp):
// one not written for the time set means its show froze behind a window that
// still answers. Looked at by its attributes only, never opened, at the
// watch's checks; on a share or network drive, where one look may wait half a
// minute for a server, the look is made on a thread of its own and its answer
// taken at a later check.
class CAliveFile
{
public:
    // "" : none, never frozen.
    CAliveFile(std::string path, unsigned seconds);
    ~CAliveFile();

    CAliveFile(const CAliveFile&) = delete;
    CAliveFile& operator=(const CAliveFile&) = delete;

    bool IsSet() const { return !path.empty(); }

    // The program starts at this time awake: the file counts as written then,
    // whatever time it shows (a missing one too).
    void Begin(ULONGLONG awakeMs);
    // A check at this time awake: true once no write has been seen for the
    // time set.
    bool Frozen(ULONGLONG awakeMs);
    // Whether a write was seen since the start, and how long none was seen
    // when the file was found frozen.
    bool Written() const { return written; }
    unsigned UnchangedSeconds() const { return unchangedSeconds; }

private:
    struct Look;
    // What changes when the file is written (see WriteStamp), or 0 where it
    // is missing; false while a look of a thread is still under way, or where
    // the look failed.
    bool LookNow(ULONGLONG& stamp);

    std::string path;
    unsigned seconds;
    bool mayStall;
    Look* look = nullptr;
    bool known = false;
    ULONGLONG lastWriteTime = 0;
    ULONGLONG changedAtMs = 0;
    bool written = false;
    unsigned unchangedSeconds = 0;
};
