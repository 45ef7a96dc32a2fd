#include "launch/Launcher.h"

#include "framework/Handle.h"
#include "framework/StringFormat.h"
#include "framework/SystemMessage.h"

#include <vector>

void StartProgram(HWND owner, const LaunchCommand& command)
{
    ::SetCurrentDirectoryA(command.folder.c_str());

    std::vector<char> commandLine(command.commandLine.begin(), command.commandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_FORCEONFEEDBACK;
    PROCESS_INFORMATION process = {};
    if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         command.folder.c_str(), &startup, &process))
    {
        // The tool keeps no hold on the program it started.
        CKernelHandle thread(process.hThread);
        CKernelHandle started(process.hProcess);
        return;
    }
    ReportStartFailure(owner, ::GetLastError(), command.folder);
}

void ReportStartFailure(HWND owner, DWORD code, const std::string& folder)
{
    const std::string text =
        FormatString("%s\nPath: %s", SystemMessageOrCode(code).c_str(), folder.c_str());
    ::MessageBoxA(owner, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}
