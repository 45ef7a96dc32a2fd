#include "tests/support/Process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

std::string KestrupExePath()
{
    const char* path = std::getenv("KESTRUP_EXE");
    if (path == nullptr || *path == '\0')
    {
        ADD_FAILURE() << "KESTRUP_EXE is not set";
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

DWORD RunAndWait(const std::string& commandLine, DWORD timeoutMs)
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
        return static_cast<DWORD>(-1);
    }
    ::CloseHandle(process.hThread);
    DWORD exitCode = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0)
    {
        ADD_FAILURE() << commandLine << " did not end within " << timeoutMs << " ms";
        ::TerminateProcess(process.hProcess, 1);
    }
    else
    {
        ::GetExitCodeProcess(process.hProcess, &exitCode);
    }
    ::CloseHandle(process.hProcess);
    return exitCode;
}
