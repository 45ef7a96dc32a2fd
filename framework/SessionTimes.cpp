#include "framework/SessionTimes.h"

#include "framework/DynamicFunction.h"
#include "framework/Handle.h"

#include <wtsapi32.h>

bool QuerySessionTimes(long long& logonTime, long long& currentTime)
{
    using QueryFunction = BOOL(WINAPI*)(HANDLE, DWORD, WTS_INFO_CLASS, LPSTR*, DWORD*);
    using FreeFunction = void(WINAPI*)(PVOID);
    const CModuleHandle library(::LoadLibraryA("wtsapi32.dll"));
    const auto query = DynamicFunction<QueryFunction>(library.get(), "WTSQuerySessionInformationA");
    const auto release = DynamicFunction<FreeFunction>(library.get(), "WTSFreeMemory");
    LPSTR buffer = nullptr;
    DWORD size = 0;
    if (query == nullptr || release == nullptr
        || !query(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, WTSSessionInfo, &buffer, &size))
        return false;
    const bool complete = buffer != nullptr && size >= sizeof(WTSINFOA);
    if (complete)
    {
        logonTime = reinterpret_cast<const WTSINFOA*>(buffer)->LogonTime.QuadPart;
        currentTime = reinterpret_cast<const WTSINFOA*>(buffer)->CurrentTime.QuadPart;
    }
    release(buffer);
    return complete;
}
