#include "tests/support/Probe.h"

#include "tests/support/Process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

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
