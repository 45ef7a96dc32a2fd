#include "keep/AliveFile.h"

#include "launch/LateVolume.h"

#include <utility>

namespace
{
// The file's last write time and size: Windows may leave the time as it was
// until the writer closes its handle, while a log that is added to grows. 0
// for a missing file; false where the look failed otherwise (a share whose
// server is down), which tells nothing of the show.
bool WriteStamp(CAliveFile::Look look, const std::string& path, ULONGLONG& stamp)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    stamp = 0;
    if (!look(path.c_str(), GetFileExInfoStandard, &data))
        return ::GetLastError() == ERROR_FILE_NOT_FOUND || ::GetLastError() == ERROR_PATH_NOT_FOUND;
    const ULONGLONG time =
        (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    stamp = time + (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32 | data.nFileSizeLow);
    return true;
}
} // namespace

// Shared by the file and the look's thread, whichever lets go of it last.
struct CAliveFile::Thread
{
    LONG holders = 2;
    volatile LONG done = 0;
    CAliveFile::Look attributes;
    std::string path;
    ULONGLONG writeTime = 0;
    bool answered = false;

    static DWORD WINAPI Run(void* parameter)
    {
        Thread* look = static_cast<Thread*>(parameter);
        look->answered = WriteStamp(look->attributes, look->path, look->writeTime);
        ::InterlockedExchange(&look->done, 1);
        look->Release();
        return 0;
    }
    void Release()
    {
        if (::InterlockedDecrement(&holders) == 0)
            delete this;
    }
};

CAliveFile::CAliveFile(std::string path, unsigned seconds, std::function<void()> neverWritten, Look look)
    : path(std::move(path)), seconds(seconds), neverWritten(std::move(neverWritten)), attributes(look),
      mayStall(!this->path.empty() && LookMayStall(this->path))
{
}

CAliveFile::~CAliveFile()
{
    if (look != nullptr)
        look->Release();
}

bool CAliveFile::LookNow(ULONGLONG& writeTime)
{
    if (!mayStall)
        return WriteStamp(attributes, path, writeTime);
    if (look != nullptr && ::InterlockedCompareExchange(&look->done, 0, 0) == 0)
        return false;
    const bool answered = look != nullptr && look->answered;
    writeTime = answered ? look->writeTime : 0;
    if (look != nullptr)
        look->Release();
    look = new Thread{2, 0, attributes, path, 0, false};
    if (HANDLE thread = ::CreateThread(nullptr, 0, Thread::Run, look, 0, nullptr))
        ::CloseHandle(thread);
    else
    {
        delete look;
        look = nullptr;
    }
    return answered;
}

void CAliveFile::Begin(ULONGLONG awakeMs)
{
    changedAtMs = awakeMs;
    if (IsSet())
        known = LookNow(lastWriteTime);
    seen = known && lastWriteTime != 0;
}

bool CAliveFile::Frozen(ULONGLONG awakeMs)
{
    ULONGLONG writeTime = 0;
    if (!IsSet() || !LookNow(writeTime))
        return false;
    if (known && writeTime != lastWriteTime)
    {
        changedAtMs = awakeMs;
        written = true;
    }
    known = true;
    seen = seen || writeTime != 0;
    lastWriteTime = writeTime;
    unchangedSeconds = static_cast<unsigned>((awakeMs - changedAtMs) / 1000);
    const bool timeUp = awakeMs - changedAtMs >= seconds * 1000ULL;
    if (timeUp && !seen && neverWritten)
        std::exchange(neverWritten, nullptr)();
    return timeUp && seen;
}
