#include "tests/support/Process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

std::string KestrupExePath()
{
    return WindowsPathFromEnvironment("KESTRUP_EXE");
}

std::string WindowsPathFromEnvironment(const char* variable)
{
    const char* path = std::getenv(variable);
    if (path == nullptr || *path == '\0')
    {
        ADD_FAILURE() << variable << " is not set";
        return std::string();
    }
    std::string windowsPath = path;
    // Wine hands over the Unix path; the Z: drive maps the Unix root.
    if (windowsPath[0] == '/')
    {
        for (char& c : windowsPath)
            if (c == '/')
                c = '\\';
        windowsPath = "Z:" + windowsPath;
    }
    return windowsPath;
}

CKernelHandle StartProcess(const std::string& commandLine, DWORD* processId)
{
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
    {
        ADD_FAILURE() << "CreateProcessA(" << commandLine << ") failed: " << ::GetLastError();
        return CKernelHandle();
    }
    CKernelHandle thread(process.hThread);
    if (processId != nullptr)
        *processId = process.dwProcessId;
    return CKernelHandle(process.hProcess);
}

DWORD RunAndWait(const std::string& commandLine, DWORD timeoutMs)
{
    const CKernelHandle process = StartProcess(commandLine);
    if (!process)
        return static_cast<DWORD>(-1);
    DWORD exitCode = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0)
    {
        ADD_FAILURE() << commandLine << " did not end within " << timeoutMs << " ms";
        ::TerminateProcess(process.get(), 1);
    }
    else
    {
        ::GetExitCodeProcess(process.get(), &exitCode);
    }
    return exitCode;
}
