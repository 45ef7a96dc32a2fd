#include "launch/Launcher.h"

#include "framework/DynamicFunction.h"
#include "framework/Handle.h"
#include "framework/NativeView.h"
#include "framework/StringFormat.h"
#include "framework/SystemMessage.h"

#include <shellapi.h>

#include <vector>

namespace
{
// Not below a root: a bare folder name, or a drive's current folder ("D:x").
// A folder still holding a double quote is taken as it stands.
bool IsRelative(const std::string& folder)
{
    if (folder.empty() || folder[0] == '\\' || folder[0] == '/' || folder[0] == '"')
        return false;
    return !(folder.size() >= 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/'));
}

std::string FullPath(const std::string& path)
{
    const DWORD size = ::GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    std::vector<char> buffer(size + 1, '\0');
    const DWORD length = ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()),
                                            buffer.data(), nullptr);
    return length > 0 && length < buffer.size() ? std::string(buffer.data(), length) : path;
}

std::string CurrentFolder()
{
    return FullPath(".");
}

// Stays loaded: the shell may still be at work for the file when the start
// returns, and the tool ends soon after.
template <typename Function>
Function Find(const char* library, const char* name)
{
    return DynamicFunction<Function>(::LoadLibraryA(library), name);
}

// A file that is no program (a shortcut, a document, a slide show, a web
// shortcut) starts as Explorer starts it: the shell's default verb, with no
// questions of the shell's own at a logon. The shell is loaded only for it.
DWORD StartThroughShell(const LaunchCommand& command, const std::string& file, const char* folder,
                        LaunchResult& result)
{
    using ExecuteFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
    using InitializeFunction = HRESULT(WINAPI*)(void*, DWORD);
    using UninitializeFunction = void(WINAPI*)();
    const auto execute = Find<ExecuteFunction>("shell32.dll", "ShellExecuteExA");
    const auto initialize = Find<InitializeFunction>("ole32.dll", "CoInitializeEx");
    const auto uninitialize = Find<UninitializeFunction>("ole32.dll", "CoUninitialize");
    if (execute == nullptr)
        return ERROR_BAD_EXE_FORMAT;
    // Shell extensions that open some kinds of file are COM objects.
    const bool withCom = initialize != nullptr && uninitialize != nullptr
                         && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpFile = file.c_str();
    info.lpParameters = command.arguments.empty() ? nullptr : command.arguments.c_str();
    info.lpDirectory = folder;
    info.nShow = SW_SHOWNORMAL;
    DWORD error = ERROR_SUCCESS;
    if (execute(&info))
    {
        // None where the file went to a program already running.
        result.process.reset(info.hProcess);
        result.processId = result.process ? ::GetProcessId(result.process.get()) : 0;
    }
    else
    {
        error = ::GetLastError();
        if (error == ERROR_SUCCESS)
            error = ERROR_NO_ASSOCIATION;
    }
    if (withCom)
        uninitialize();
    return error;
}

// A process of the program may leave the job where it asks to: a start is
// never refused. No limit ends the program with the tool.
CKernelHandle MakeJob()
{
    CKernelHandle job(::CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    if (job && !::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits)))
        job.reset();
    return job;
}

void PutInJob(LaunchResult& result, CKernelHandle job)
{
    if (job && ::AssignProcessToJobObject(job.get(), result.process.get()))
        result.job = std::move(job);
    else
        result.outsideJob = ::WaitForSingleObject(result.process.get(), 0) == WAIT_OBJECT_0
                                ? LaunchResult::OutsideJob::AlreadyEnded
                                : LaunchResult::OutsideJob::Refused;
}

bool ToolRunsInAJob()
{
    BOOL inJob = FALSE;
    return ::IsProcessInJob(::GetCurrentProcess(), nullptr, &inJob) && inJob;
}

bool IsBatchFile(const std::string& path)
{
    const size_t dot = path.rfind('.');
    return dot != std::string::npos
           && (_stricmp(path.c_str() + dot, ".bat") == 0 || _stricmp(path.c_str() + dot, ".cmd") == 0);
}

// The system runs a batch file through this program's own cmd.exe, the 32-bit
// one under WOW64, which finds no batch file in the native System32. There it
// runs in the native cmd.exe, as Explorer runs it.
std::string NativeCommandInterpreter()
{
    char system[MAX_PATH] = "";
    const UINT length = ::GetSystemDirectoryA(system, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : NativeFilePath(FormatString("%s\\cmd.exe", system));
}
} // namespace

// A program named without a folder is found by the system's search and runs in
// the tool's own current folder; a relative folder is made absolute from the
// tool's current folder, like the program's path itself. The tool's current
// folder never changes: every start finds a relative path the same way, and no
// folder of a program is held open. A program in System32 is the native one,
// as Explorer starts it, unless only this program's own System32 has it; its
// command line still names it as written.
LaunchResult StartProgram(HWND owner, const LaunchCommand& command, const LaunchRecorder& record,
                          const StartOptions& options)
{
    const bool hasFolder = !command.folder.empty();
    const std::string folder = FolderAsSeenByAnyProgram(
        IsRelative(command.folder) ? FullPath(command.folder) : command.folder);
    const std::string nativeProgram = NativeFilePath(command.program);
    const bool redirected = nativeProgram != command.program;
    std::string application = redirected ? nativeProgram : std::string();
    std::string line = command.commandLine;
    // In the native System32, named either way: cmd is given the name that
    // it sees, which is System32's.
    const std::string nameForAnyProgram = FolderAsSeenByAnyProgram(nativeProgram);
    if ((redirected || nameForAnyProgram != nativeProgram) && IsBatchFile(command.program)
        && ::GetFileAttributesA(nativeProgram.c_str()) != INVALID_FILE_ATTRIBUTES)
    {
        application = NativeCommandInterpreter();
        // /s: cmd takes the quotes around the whole command off and no others.
        line = FormatString("cmd.exe /s /c \"\"%s\"%s\"", nameForAnyProgram.c_str(),
                            command.commandLine.c_str() + command.program.size() + 2);
    }

    bool announced = false;
    const auto announce = [&options, &announced](DWORD processId) {
        if (!announced && options.beforeRun)
            options.beforeRun(processId);
        announced = true;
    };
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_FORCEONFEEDBACK;
    PROCESS_INFORMATION process = {};
    LaunchResult result;
    CKernelHandle job = options.kept ? MakeJob() : CKernelHandle();
    // Inherited by the program.
    const UINT errorMode = ::GetErrorMode();
    if (options.crashEndsAtOnce)
        ::SetErrorMode(errorMode | SEM_NOGPFAULTERRORBOX);
    // Suspended until it is in the job, so that nothing it starts escapes, and
    // until the caller has let it take the foreground. A job the tool runs in
    // (a scheduler's, a remote shell's) is left where it allows it, so that
    // the program gets a job of its own.
    const auto create = [&](DWORD flags) {
        return ::CreateProcessA(application.empty() ? nullptr : application.c_str(), commandLine.data(), nullptr,
                                nullptr, FALSE, CREATE_SUSPENDED | flags, nullptr,
                                hasFolder ? folder.c_str() : nullptr, &startup, &process);
    };
    const bool breakAway = options.kept && ToolRunsInAJob();
    BOOL created = create(breakAway ? CREATE_BREAKAWAY_FROM_JOB : 0);
    if (!created && breakAway && ::GetLastError() == ERROR_ACCESS_DENIED)
        created = create(0);
    if (created)
    {
        CKernelHandle thread(process.hThread);
        result.process.reset(process.hProcess);
        result.processId = process.dwProcessId;
        if (options.kept)
            PutInJob(result, std::move(job));
        announce(result.processId);
        ::ResumeThread(thread.get());
    }
    else
    {
        result.error = ::GetLastError();
        if (GoesToTheShell(result.error))
        {
            announce(ASFW_ANY);
            result.error = StartThroughShell(command, nativeProgram, hasFolder ? folder.c_str() : nullptr, result);
        }
        if (options.kept && result.process)
            PutInJob(result, std::move(job));
    }
    ::SetErrorMode(errorMode);
    result.folder = hasFolder ? folder : CurrentFolder();
    if (record)
        record(result);
    if (result.error != ERROR_SUCCESS)
    {
        announce(0);
        if (!options.failureUnboxed)
            ReportStartFailure(owner, result.error, command.program, result.folder);
    }
    return result;
}

bool GoesToTheShell(DWORD error)
{
    return error == ERROR_BAD_EXE_FORMAT;
}

std::string StartFailureText(DWORD code, const std::string& program)
{
    // The system's own words name no reason a user could act on.
    if (code == ERROR_ELEVATION_REQUIRED)
        return program
               + " asks for administrator rights. Windows starts no program that asks for them at a logon "
                 "without asking the user, and Kestrup never asks. Use a program (or a setting of it) that "
                 "does not ask for administrator rights, or start it with a logon task of Task Scheduler "
                 "with \"Run with highest privileges\" instead.";
    const std::string message = SystemMessageOrCode(code);
    std::string text;
    size_t from = 0;
    for (size_t insert = message.find("%1"); insert != std::string::npos; insert = message.find("%1", from))
    {
        text.append(message.c_str() + from, insert - from).append(program);
        from = insert + 2;
    }
    return text.append(message.c_str() + from);
}

std::string StartFailureWords(DWORD code)
{
    switch (code)
    {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return "file not found";
    case ERROR_ACCESS_DENIED:
        return "access denied";
    case ERROR_SHARING_VIOLATION:
        return "file in use";
    case ERROR_ELEVATION_REQUIRED:
        return "asks for administrator rights";
    case ERROR_NO_ASSOCIATION:
        return "no program opens the file";
    default:
        return FormatString("error %lu", code);
    }
}

void ReportStartFailure(HWND owner, DWORD code, const std::string& program, const std::string& folder)
{
    const std::string text =
        FormatString("%s\nPath: %s", StartFailureText(code, program).c_str(), folder.c_str());
    // At logon other programs start too: the box must not end up behind them.
    ::MessageBoxA(owner, text.c_str(), "Error", MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}
