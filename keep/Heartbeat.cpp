#include "keep/Heartbeat.h"

#include "framework/Handle.h"
#include "framework/StringFormat.h"

#include <windows.h>

#include <winhttp.h>

#include <cstring>
#include <string>

namespace
{
constexpr int kTimeoutMs = 10000;

// Windows 7 without its update of 2011 (KB2533623) knows no
// LOAD_LIBRARY_SEARCH_SYSTEM32: there the DLL is named by its full path.
HMODULE LoadFromSystemFolder(const char* name)
{
    if (HMODULE module = ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    char folder[MAX_PATH] = "";
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    return length == 0 || length + 1 + std::strlen(name) >= MAX_PATH
               ? nullptr
               : ::LoadLibraryA((std::string(folder) + "\\" + name).c_str());
}

// The functions of winhttp.dll a beat needs, from the system's folder.
struct WinHttp
{
    HMODULE module = LoadFromSystemFolder("winhttp.dll");
    decltype(&::WinHttpCrackUrl) crackUrl;
    decltype(&::WinHttpOpen) open;
    decltype(&::WinHttpSetTimeouts) setTimeouts;
    decltype(&::WinHttpConnect) connect;
    decltype(&::WinHttpOpenRequest) openRequest;
    decltype(&::WinHttpSendRequest) sendRequest;
    decltype(&::WinHttpReceiveResponse) receiveResponse;
    decltype(&::WinHttpQueryHeaders) queryHeaders;
    decltype(&::WinHttpCloseHandle) closeHandle;

    // In the order of the members above; false where one is missing.
    bool Load()
    {
        static const char* const names[] = {"WinHttpCrackUrl", "WinHttpOpen", "WinHttpSetTimeouts",
                                            "WinHttpConnect", "WinHttpOpenRequest", "WinHttpSendRequest",
                                            "WinHttpReceiveResponse", "WinHttpQueryHeaders", "WinHttpCloseHandle"};
        FARPROC* functions = reinterpret_cast<FARPROC*>(&crackUrl);
        for (const char* name : names)
            if ((*functions++ = module != nullptr ? ::GetProcAddress(module, name) : nullptr) == nullptr)
                return false;
        return true;
    }
};

// The system's words for a failure, WinHTTP's own among them.
std::string FailureText(HMODULE winHttp, DWORD code)
{
    CLocalMemory buffer;
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE
                                        | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    winHttp, code, 0, reinterpret_cast<char*>(buffer.put()), 0, nullptr);
    const char* text = static_cast<const char*>(buffer.get());
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' '))
        --length;
    return FormatString("%.*s (error %lu)", static_cast<int>(length), length != 0 ? text : "", code);
}

// One request: empty where it succeeded (a status of 2xx), otherwise why not.
std::string Request(const WinHttp& http, const wchar_t* url, const wchar_t* agent)
{
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = parts.dwUrlPathLength = static_cast<DWORD>(-1);
    if (!http.crackUrl(url, 0, 0, &parts)
        || (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        || parts.dwHostNameLength >= 256)
        return "the URL is no http:// or https:// address";
    wchar_t host[256];
    ::lstrcpynW(host, parts.lpszHostName, static_cast<int>(parts.dwHostNameLength) + 1);
    // The system's proxy settings: automatic where Windows has it (8.1 on).
    HINTERNET session = http.open(agent, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0);
    if (session == nullptr)
        session = http.open(agent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    // No time-out of WinHTTP's own for the name's lookup (the system's
    // resolver gives up by itself): with one, WinHTTP looks the name up on a
    // thread of its own, a thread a request where Windows is older.
    HINTERNET connection = session != nullptr && http.setTimeouts(session, 0, kTimeoutMs, kTimeoutMs, kTimeoutMs)
                               ? http.connect(session, host, parts.nPort, 0)
                               : nullptr;
    // The path runs on to the URL's end, with its query.
    HINTERNET request = connection == nullptr ? nullptr
                                              : http.openRequest(connection, L"GET", parts.lpszUrlPath, nullptr,
                                                                 WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                                 parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    DWORD status = 0, size = sizeof(status);
    const bool answered = request != nullptr
                          && http.sendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0)
                          && http.receiveResponse(request, nullptr)
                          && http.queryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                               WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
    const DWORD error = ::GetLastError();
    for (HINTERNET handle : {request, connection, session})
        if (handle != nullptr)
            http.closeHandle(handle);
    if (!answered)
        return FailureText(http.module, error);
    return status >= 200 && status < 300 ? std::string() : FormatString("HTTP status %lu", status);
}
} // namespace

// Held by the heartbeat and its thread; the last to let go frees it. The
// lock keeps a result from being told once the heartbeat is gone.
struct CHeartbeat::Shared
{
    wchar_t url[2084];
    wchar_t agent[64];
    ULONGLONG periodMs;
    ResultAction onResult;
    CKernelHandle wake{::CreateEventA(nullptr, FALSE, FALSE, nullptr)};
    CRITICAL_SECTION lock{};
    bool beating = false;
    bool stopped = false;
    LONG holders = 2;

    void Release()
    {
        if (::InterlockedDecrement(&holders) == 0)
        {
            ::DeleteCriticalSection(&lock);
            delete this;
        }
    }

    // Sets one of the flags the thread reads, and wakes it to read them.
    void Tell(bool Shared::*flag, bool value)
    {
        ::EnterCriticalSection(&lock);
        this->*flag = value;
        ::LeaveCriticalSection(&lock);
        ::SetEvent(wake.get());
    }

    static DWORD WINAPI Beat(void* parameter)
    {
        auto* shared = static_cast<Shared*>(parameter);
        shared->Run();
        shared->Release();
        return 0;
    }

    void Run()
    {
        WinHttp http;
        const bool loaded = http.Load();
        ULONGLONG next = 0;
        int last = -1;  // the result told last: 1 succeeded, 0 failed
        for (;;)
        {
            ::EnterCriticalSection(&lock);
            const bool stop = stopped, beat = beating;
            ::LeaveCriticalSection(&lock);
            if (stop)
                return;
            const ULONGLONG now = ::GetTickCount64();
            if (!beat)
                next = 0;
            else if (now >= next)
            {
                next = now + periodMs;
                const std::string failure = loaded ? Request(http, url, agent) : "WinHTTP could not be loaded";
                ::EnterCriticalSection(&lock);
                if (!stopped && (failure.empty() ? 1 : 0) != last)
                    onResult(failure.empty(), failure);
                ::LeaveCriticalSection(&lock);
                last = failure.empty() ? 1 : 0;
                continue;
            }
            ::WaitForSingleObject(wake.get(), beat ? static_cast<DWORD>(next - now) : INFINITE);
        }
    }
};

CHeartbeat::CHeartbeat(const std::string& url, unsigned long seconds, const std::string& userAgent,
                       ResultAction onResult)
{
    if (url.empty())
        return;
    shared = new Shared{{}, {}, seconds * 1000ULL, std::move(onResult)};
    ::MultiByteToWideChar(CP_ACP, 0, url.c_str(), -1, shared->url, ARRAYSIZE(shared->url) - 1);
    ::MultiByteToWideChar(CP_ACP, 0, userAgent.c_str(), -1, shared->agent, ARRAYSIZE(shared->agent) - 1);
    ::InitializeCriticalSection(&shared->lock);
    const CKernelHandle thread(::CreateThread(nullptr, 0, Shared::Beat, shared, 0, nullptr));
    if (!thread)
    {
        ::DeleteCriticalSection(&shared->lock);
        delete shared;
        shared = nullptr;
    }
}

CHeartbeat::~CHeartbeat()
{
    if (shared == nullptr)
        return;
    shared->Tell(&Shared::stopped, true);
    shared->Release();
}

void CHeartbeat::SetBeating(bool beating)
{
    if (shared != nullptr)
        shared->Tell(&Shared::beating, beating);
}
