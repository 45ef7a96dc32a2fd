#include "app/ConsoleSessionRun.h"

#include "framework/DynamicFunction.h"
#include "framework/Handle.h"

#include <vector>

namespace
{
// The environment block of a user, made and destroyed by userenv.
class CUserEnvironment
{
public:
    explicit CUserEnvironment(HANDLE token) : library(::LoadLibraryA("userenv.dll"))
    {
        using Create = BOOL(WINAPI*)(void**, HANDLE, BOOL);
        if (const auto create = DynamicFunction<Create>(library.get(), "CreateEnvironmentBlock"))
            if (!create(&block, token, FALSE))
                block = nullptr;
    }
    ~CUserEnvironment()
    {
        using Destroy = BOOL(WINAPI*)(void*);
        if (const auto destroy = DynamicFunction<Destroy>(library.get(), "DestroyEnvironmentBlock"); destroy && block)
            destroy(block);
    }
    CUserEnvironment(const CUserEnvironment&) = delete;
    CUserEnvironment& operator=(const CUserEnvironment&) = delete;
    void* get() const { return block; }

private:
    CModuleHandle library;
    void* block = nullptr;
};

// None where nobody is signed in at the console; `error` says why else.
CKernelHandle ConsoleUserToken(DWORD& error)
{
    using Query = BOOL(WINAPI*)(ULONG, PHANDLE);
    const CModuleHandle library(::LoadLibraryA("wtsapi32.dll"));
    const auto query = DynamicFunction<Query>(library.get(), "WTSQueryUserToken");
    const DWORD session = ::WTSGetActiveConsoleSessionId();
    HANDLE token = nullptr;
    error = query == nullptr ? ERROR_PROC_NOT_FOUND : ERROR_SUCCESS;
    if (session == 0xFFFFFFFF || query == nullptr || !query(session, &token))
    {
        if (query != nullptr && session != 0xFFFFFFFF && ::GetLastError() != ERROR_NO_TOKEN)
            error = ::GetLastError();
        return CKernelHandle();
    }
    return CKernelHandle(token);
}

std::string ReadWhatIsThere(HANDLE pipe)
{
    std::string text;
    char buffer[512];
    DWORD waiting = 0, read = 0;
    while (::PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0
           && ::ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read);
    return text;
}
} // namespace

bool RunsAsSystem()
{
    HANDLE opened = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened))
        return false;
    const CKernelHandle token(opened);
    std::vector<BYTE> buffer(256);
    DWORD size = 0;
    return ::GetTokenInformation(token.get(), TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size)
           && ::IsWellKnownSid(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, WinLocalSystemSid);
}

DWORD SessionOfThisProcess()
{
    DWORD session = 0;
    return ::ProcessIdToSessionId(::GetCurrentProcessId(), &session) ? session : 0;
}

RelayRun RunInConsoleSession(const std::string& commandLine, DWORD waitMs)
{
    RelayRun run;
    const CKernelHandle token = ConsoleUserToken(run.startError);
    run.userAtConsole = token || run.startError != ERROR_SUCCESS;
    if (!token)
        return run;
    const CUserEnvironment environment(token.get());
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherited, 0))
    {
        run.startError = ::GetLastError();
        return run;
    }
    const CKernelHandle output(readEnd);
    CKernelHandle input(writeEnd);
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writeEnd;
    char desktop[] = "winsta0\\default";
    startup.lpDesktop = desktop;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessAsUserA(token.get(), nullptr, line.data(), nullptr, nullptr, TRUE,
                                CREATE_UNICODE_ENVIRONMENT, environment.get(), nullptr, &startup, &started))
    {
        run.startError = ::GetLastError();
        return run;
    }
    const CKernelHandle process(started.hProcess), thread(started.hThread);
    input.reset();
    run.ended = ::WaitForSingleObject(process.get(), waitMs) == WAIT_OBJECT_0;
    ::GetExitCodeProcess(process.get(), &run.exitCode);
    run.line = ReadWhatIsThere(output.get());
    return run;
}
