#include "launch/Launcher.h"

#include "framework/Handle.h"
#include "framework/NativeView.h"
#include "framework/StringFormat.h"
#include "framework/SystemMessage.h"

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
} // namespace

// A program named without a folder is found by the system's search and runs in
// the tool's own current folder; a relative folder is made absolute once, from
// the tool's current folder, like the program's path itself. A program in
// System32 is the native one, as Explorer starts it; its command line still
// names it as written.
void StartProgram(HWND owner, const LaunchCommand& command, const LaunchRecorder& record)
{
    const bool hasFolder = !command.folder.empty();
    const std::string folder = FolderAsSeenByAnyProgram(
        IsRelative(command.folder) ? FullPath(command.folder) : command.folder);
    const std::string nativeProgram = NativeFilePath(command.program);
    const bool redirected = nativeProgram != command.program;

    std::vector<char> commandLine(command.commandLine.begin(), command.commandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_FORCEONFEEDBACK;
    PROCESS_INFORMATION process = {};
    LaunchResult result;
    if (::CreateProcessA(redirected ? nativeProgram.c_str() : nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         hasFolder ? folder.c_str() : nullptr, &startup, &process))
    {
        // Only now: a relative program path is found from the folder the tool
        // was in.
        if (hasFolder)
            ::SetCurrentDirectoryA(folder.c_str());
        // The tool keeps no hold on the program it started.
        CKernelHandle thread(process.hThread);
        CKernelHandle started(process.hProcess);
        result.processId = process.dwProcessId;
    }
    else
    {
        result.error = ::GetLastError();
    }
    result.folder = hasFolder ? folder : CurrentFolder();
    if (record)
        record(result);
    if (result.error != ERROR_SUCCESS)
        ReportStartFailure(owner, result.error, result.folder);
}

void ReportStartFailure(HWND owner, DWORD code, const std::string& folder)
{
    const std::string text =
        FormatString("%s\nPath: %s", SystemMessageOrCode(code).c_str(), folder.c_str());
    // At logon other programs start too: the box must not end up behind them.
    ::MessageBoxA(owner, text.c_str(), "Error", MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}
