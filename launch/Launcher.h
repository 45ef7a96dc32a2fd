#pragma once

#include "launch/LaunchCommand.h"

// Starts the program in its folder and returns at once; a failed start is
// reported in an "Error" box owned by the given window.
void StartProgram(HWND owner, const LaunchCommand& command);

// The "Error" box for a start that failed with the given code.
void ReportStartFailure(HWND owner, DWORD code, const std::string& folder);
