#pragma once

#include "framework/Handle.h"
#include "launch/LaunchCommand.h"

#include <functional>

// Windows' refusal to start a program that asks for administrator rights from
// one that has none; the cross compiler's headers lack it.
#ifndef ERROR_ELEVATION_REQUIRED
#define ERROR_ELEVATION_REQUIRED 740L
#endif

// How a start went: the program's process id, or the system's error code; and
// the folder it was started in (the tool's own for a program without one).
// The process is held only where the system handed one over: none where the
// shell gave a document to a program already running.
struct LaunchResult
{
    CKernelHandle process;
    // For a kept program, the job that holds it and every process it starts;
    // none where the system would not put the process in one (the tool runs
    // in a job that allows no other), which `jobRefused` then says.
    CKernelHandle job;
    bool jobRefused = false;
    DWORD processId = 0;
    DWORD error = ERROR_SUCCESS;
    std::string folder;
};

using LaunchRecorder = std::function<void(const LaunchResult&)>;

// Starts the program in its folder and returns at once; a file that is no
// program (a shortcut, a document) starts as Explorer starts it. A failed
// start is reported in an "Error" box owned by the given window. `record`
// learns how it went as soon as the system has answered, before any box.
// A kept program runs in a job of its own, which it may leave where it asks
// to and which does not end it when the tool ends, and a crash ends it at
// once instead of holding it behind the system's crash box.
LaunchResult StartProgram(HWND owner, const LaunchCommand& command, const LaunchRecorder& record = {},
                          bool kept = false);

// Whether a program the system would not start is handed to the shell: only a
// file that is no program. Never one that asks for administrator rights, which
// the shell would start only after a prompt, and no prompt is raised at a logon.
bool GoesToTheShell(DWORD error);

// The system's text for a failed start of the program, with the program's
// path in place of every %1 of it; for a program that asks for administrator
// rights, what that means at a logon and what to do.
std::string StartFailureText(DWORD code, const std::string& program);

// The "Error" box for a start of the program that failed with the given code.
void ReportStartFailure(HWND owner, DWORD code, const std::string& program, const std::string& folder);
