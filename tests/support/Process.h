#pragma once

#include "framework/Handle.h"

#include <string>

// A program the build hands over in an environment variable, as a Windows path.
std::string WindowsPathFromEnvironment(const char* variable);

// The tool under test (KESTRUP_EXE).
std::string KestrupExePath();

// Starts a command line without waiting; returns the process, or no handle
// after recording a failure.
CKernelHandle StartProcess(const std::string& commandLine, DWORD* processId = nullptr);

// Starts a command line and waits for the process to end; returns its exit
// code, or a failure is recorded and -1 returned.
DWORD RunAndWait(const std::string& commandLine, DWORD timeoutMs = 60000);
