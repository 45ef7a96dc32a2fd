#pragma once

#include <windows.h>

#include <string>

// The tool under test, as the build hands it over (KESTRUP_EXE), as a Windows path.
std::string KestrupExePath();

// Starts a command line and waits for the process to end; returns its exit
// code, or a failure is recorded and -1 returned.
DWORD RunAndWait(const std::string& commandLine, DWORD timeoutMs = 60000);
