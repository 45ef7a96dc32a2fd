#include "keep/Heartbeat.h"

#include "framework/AnsiText.h"
#include "framework/Handle.h"
#include "framework/StringFormat.h"

#include <windows.h>

#include <winhttp.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace
{
constexpr int kTimeoutMs = 10000;
// How long the show runs with nothing wrong before its first beat, so that a
// show that ends at once, or a logon before the network is up, beats nothing.
constexpr ULONGLONG kSettleMs = 10000;
// How long after a failed beat it is tried once more, before it counts.
constexpr ULONGLONG kRetryMs = 10000;

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
               : ::LoadLibraryA(FormatString("%s\\%s", folder, name).c_str());
}

// The functions of winhttp.dll a beat needs, from the system's folder.
struct WinHttp
{
    HMODULE module = LoadFromSystemFolder("winhttp.dll");
    decltype(&::WinHttpCrackUrl) crackUrl;
    decltype(&::WinHttpOpen) open;
    decltype(&::WinHttpSetTimeouts) setTimeouts;
    decltype(&::WinHttpSetOption) setOption;
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
                                            "WinHttpSetOption", "WinHttpConnect", "WinHttpOpenRequest",
                                            "WinHttpSendRequest", "WinHttpReceiveResponse", "WinHttpQueryHeaders",
                                            "WinHttpCloseHandle"};
        FARPROC* functions = reinterpret_cast<FARPROC*>(&crackUrl);
        for (const char* name : names)
            if ((*functions++ = module != nullptr ? ::GetProcAddress(module, name) : nullptr) == nullptr)
                return false;
        return true;
    }
};

// Words for the usual failures, where the system has none for WinHTTP's
// errors (Wine has none).
const char* PlainWords(DWORD code)
{
    switch (code)
    {
    case ERROR_WINHTTP_TIMEOUT: return "timed out";
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: return "the server's name could not be resolved";
    case ERROR_WINHTTP_CANNOT_CONNECT: return "could not connect to the server";
    case ERROR_WINHTTP_CONNECTION_ERROR: return "the connection to the server was broken off";
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE: return "the server's certificate is not trusted or not valid";
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR: return "the secure channel failed";
    default: return "";
    }
}

// The system's words for a failure, WinHTTP's own among them, or else ours.
std::string FailureText(HMODULE winHttp, DWORD code)
{
    CLocalMemory buffer;
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE
                                        | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    winHttp, code, 0, reinterpret_cast<char*>(buffer.put()), 0, nullptr);
    const char* text = static_cast<const char*>(buffer.get());
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' '))
        --length;
    if (length == 0)
        return FormatString("%s (error %lu)", PlainWords(code), code);
    return FormatString("%.*s (error %lu)", static_cast<int>(length), text, code);
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
    // Windows 7 and 8.0 offer only SSL 3 and TLS 1.0 unless asked for more;
    // a system that knows no TLS 1.3, or not even 1.2, refuses the flags and
    // keeps its own.
    for (DWORD protocols : {WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3,
                            WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2})
        if (session == nullptr
            || http.setOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof(protocols)))
            break;
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
    // When the first beat of the latest start of beating is due.
    ULONGLONG firstBeat = 0;
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

    // Changes what the thread reads, and wakes it to read it.
    template <typename Change>
    void Tell(Change change)
    {
        ::EnterCriticalSection(&lock);
        change();
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
        ULONGLONG started = 0;  // the firstBeat of the beating under way
        ULONGLONG next = 0;     // the next request, a beat or a retry
        ULONGLONG due = 0;      // the next beat
        int failures = 0;       // of the requests in a row
        int told = -1;          // the result told last: 1 succeeded, 0 failed
        for (;;)
        {
            ::EnterCriticalSection(&lock);
            const bool stop = stopped, beat = beating;
            const ULONGLONG first = firstBeat;
            ::LeaveCriticalSection(&lock);
            if (stop)
                return;
            if (beat && first != started)
            {
                started = next = due = first;
                failures = 0;
            }
            const ULONGLONG now = ::GetTickCount64();
            if (beat && now >= next)
            {
                if (now >= due)
                    due = now + periodMs;
                const std::string failure = loaded ? Request(http, url, agent) : "WinHTTP could not be loaded";
                failures = failure.empty() ? 0 : failures + 1;
                next = failures == 1 ? ::GetTickCount64() + kRetryMs : due;
                const int result = failure.empty() ? 1 : 0;
                if (failures == 1 || result == told)
                    continue;
                ::EnterCriticalSection(&lock);
                if (!stopped)
                    onResult(failure.empty(), failure);
                ::LeaveCriticalSection(&lock);
                told = result;
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
    shared->Tell([this] { shared->stopped = true; });
    shared->Release();
}

void CHeartbeat::SetBeating(bool beating)
{
    if (shared != nullptr)
        shared->Tell([this, beating] {
            if (beating && !shared->beating)
                shared->firstBeat = ::GetTickCount64() + kSettleMs;
            shared->beating = beating;
        });
}

std::string AddressWithoutPath(const std::string& url)
{
    const size_t scheme = url.find("://");
    const size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    const size_t end = std::min(url.find_first_of("/?#", start), url.size());
    // A user name and password before the host are as secret as the path.
    const size_t at = url.rfind('@', end - (end > 0));
    const size_t host = at != std::string::npos && at >= start && at < end ? at + 1 : start;
    std::string ellipsis;
    if (end < url.size() && !WideToAnsi(L"\u2026", ellipsis))
        ellipsis = "...";
    return FormatString("%.*s%.*s%s%s", static_cast<int>(start), url.c_str(), static_cast<int>(end - host),
                        url.c_str() + host, end < url.size() ? "/" : "", end < url.size() ? ellipsis.c_str() : "");
}
