#include "tests/support/Probe.h"

#include "tests/support/Process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

std::string ProbeExePath()
{
    return WindowsPathFromEnvironment("KESTRUP_PROBE");
}

void InstallProbe(const std::string& destination)
{
    ASSERT_TRUE(::CopyFileA(ProbeExePath().c_str(), destination.c_str(), FALSE))
        << "copying the probe to " << destination << ": " << ::GetLastError();
}

void ExpectProbeRecordAt(const std::string& recordFile)
{
    ::DeleteFileA(recordFile.c_str());
    ::SetEnvironmentVariableA("KESTRUP_PROBE_RECORD", recordFile.c_str());
}

std::string AsUtf8(const std::string& ansi)
{
    std::vector<wchar_t> wide(ansi.size() + 1, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    std::vector<char> utf8(wide.size() * 3, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, utf8.data(), static_cast<int>(utf8.size()),
                          nullptr, nullptr);
    return utf8.data();
}

bool WaitForProbeRecord(const std::string& recordFile, ProbeRecord& record, unsigned timeoutMs)
{
    for (unsigned waited = 0; waited < timeoutMs; waited += 50)
    {
        std::ifstream file(recordFile);
        if (file && std::getline(file, record.commandLine) && std::getline(file, record.folder))
            return true;
        ::Sleep(50);
    }
    return false;
}
