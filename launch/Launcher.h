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
    // none where the process could not be put in one, which `outsideJob`
    // then says why.
    CKernelHandle job;
    enum class OutsideJob
    {
        No,
        Refused,       // the system would not put it in a job
        AlreadyEnded,  // its process had ended first (a shell start that handed over)
    } outsideJob = OutsideJob::No;
    DWORD processId = 0;
    DWORD error = ERROR_SUCCESS;
    std::string folder;
};

using LaunchRecorder = std::function<void(const LaunchResult&)>;

// How a start is made.
struct StartOptions
{
    // In a job of its own, which its processes may leave where they ask to and
    // which does not end them when the tool ends.
    bool kept = false;
    // A crash ends the program at once, without the system's box, which
    // nobody may be there to answer; and so without Windows Error Reporting.
    bool crashEndsAtOnce = false;
    // Called once just before the program runs, while the caller may still
    // hold the foreground: with the id of its process, created suspended;
    // with ASFW_ANY before the shell starts a file, whose process is not known
    // before; with 0 before a failed start is reported.
    std::function<void(DWORD processId)> beforeRun;
    // A failed start shows no box (a kept program is simply tried again).
    bool failureUnboxed = false;
};

// Starts the program in its folder and returns at once; a file that is no
// program (a shortcut, a document) starts as Explorer starts it. A failed
// start is reported in an "Error" box owned by the given window. `record`
// learns how it went as soon as the system has answered, before any box.
LaunchResult StartProgram(HWND owner, const LaunchCommand& command, const LaunchRecorder& record = {},
                          const StartOptions& options = {});

// Whether a program the system would not start is handed to the shell: only a
// file that is no program. Never one that asks for administrator rights, which
// the shell would start only after a consent prompt: Kestrup raises none.
bool GoesToTheShell(DWORD error);

// The system's text for a failed start of the program, with the program's
// path in place of every %1 of it; for a program that asks for administrator
// rights, what that means at a logon and what to do.
std::string StartFailureText(DWORD code, const std::string& program);

// A failed start's reason in a few words, for a label.
std::string StartFailureWords(DWORD code);

// The "Error" box for a start of the program that failed with the given code.
void ReportStartFailure(HWND owner, DWORD code, const std::string& program, const std::string& folder);
