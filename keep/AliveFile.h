#pragma once

#include <windows.h>

#include <functional>
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
    // How the file is looked at: GetFileAttributesExA, or a test's stand-in
    // for a server that is down, which Wine cannot tell from a missing file.
    using Look = BOOL(WINAPI*)(LPCSTR, GET_FILEEX_INFO_LEVELS, LPVOID);

    // "" : none, never frozen. A file not there at any look for the time set
    // is no frozen show but a path that names no file the program writes:
    // `neverWritten` is told so, once, and it does not count as frozen until
    // it has been seen.
    CAliveFile(std::string path, unsigned seconds, std::function<void()> neverWritten = nullptr,
               Look look = ::GetFileAttributesExA);
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
    struct Thread;
    // What changes when the file is written (see WriteStamp), or 0 where it
    // is missing; false while a look of a thread is still under way, or where
    // the look failed.
    bool LookNow(ULONGLONG& stamp);

    std::string path;
    unsigned seconds;
    std::function<void()> neverWritten;
    Look attributes;
    bool mayStall;
    Thread* look = nullptr;
    bool known = false;
    ULONGLONG lastWriteTime = 0;
    ULONGLONG changedAtMs = 0;
    bool written = false;
    bool seen = false;
    unsigned unchangedSeconds = 0;
};
