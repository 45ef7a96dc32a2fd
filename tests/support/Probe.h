#pragma once

#include <string>

// The probe program: a started program that records how it was started.
struct ProbeRecord
{
    std::string commandLine;
    std::string folder;
};

// The probe as built (KESTRUP_PROBE), as a Windows path.
std::string ProbeExePath();

// Copies the probe to the given full path (creating nothing else).
void InstallProbe(const std::string& destination);

// Points the probe's record at the file (the variable is inherited by every
// process started from here) and removes an old record.
void ExpectProbeRecordAt(const std::string& recordFile);

// A path of this test program (in its ANSI code page) as the probe records it.
std::string AsUtf8(const std::string& ansi);

// Waits for the probe's record, which is in UTF-8; false when none came in time.
bool WaitForProbeRecord(const std::string& recordFile, ProbeRecord& record, unsigned timeoutMs = 60000);
