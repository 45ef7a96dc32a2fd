#include "keep/AliveFile.h"

#include "launch/LateVolume.h"

namespace
{
ULONGLONG WriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}
} // namespace

// Shared by the file and the look's thread, whichever lets go of it last.
struct CAliveFile::Look
{
    LONG holders = 2;
    volatile LONG done = 0;
    std::string path;
    ULONGLONG writeTime = 0;

    static DWORD WINAPI Run(void* parameter)
    {
        Look* look = static_cast<Look*>(parameter);
        look->writeTime = WriteTime(look->path);
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

CAliveFile::CAliveFile(std::string path, unsigned seconds)
    : path(std::move(path)), seconds(seconds), mayStall(!this->path.empty() && LookMayStall(this->path))
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
    {
        writeTime = WriteTime(path);
        return true;
    }
    if (look != nullptr && ::InterlockedCompareExchange(&look->done, 0, 0) == 0)
        return false;
    const bool answered = look != nullptr;
    if (answered)
    {
        writeTime = look->writeTime;
        look->Release();
    }
    look = new Look{2, 0, path, 0};
    if (HANDLE thread = ::CreateThread(nullptr, 0, Look::Run, look, 0, nullptr))
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
    lastWriteTime = writeTime;
    unchangedSeconds = static_cast<unsigned>((awakeMs - changedAtMs) / 1000);
    return awakeMs - changedAtMs >= seconds * 1000ULL;
}
