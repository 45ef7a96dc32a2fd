#pragma once

#include "launch/LaunchCommand.h"

#include <functional>

// How a start went: the program's process id, or the system's error code; and
// the folder it was started in (the tool's own for a program without one).
struct LaunchResult
{
    DWORD processId = 0;
    DWORD error = ERROR_SUCCESS;
    std::string folder;
};

using LaunchRecorder = std::function<void(const LaunchResult&)>;

// Starts the program in its folder and returns at once; a failed start is
// reported in an "Error" box owned by the given window. `record` learns how it
// went as soon as the system has answered, before any box.
void StartProgram(HWND owner, const LaunchCommand& command, const LaunchRecorder& record = {});

// The "Error" box for a start that failed with the given code.
void ReportStartFailure(HWND owner, DWORD code, const std::string& folder);
