#pragma once

#include <windows.h>

#include <string>

// What starting a slot's program needs: its command line and the folder it
// runs in.
struct LaunchCommand
{
    std::string program;    // the path, without quotes
    std::string arguments;  // what the command line has after the program
    std::string commandLine;
    std::string folder;
};

// The program path in double quotes (a path stored in quotes keeps just the
// one pair), then the parameter (as stored, after one space), " /kiosk" for
// any nonzero kiosk value, and the show file in double quotes (after one
// space); empty parts are left out. The folder is the
// program's drive and directory without the trailing run of backslashes and
// double quotes, but a drive's root keeps its backslash; it is empty for a
// bare program name.
LaunchCommand BuildLaunchCommand(const std::string& appPath, const std::string& parameter,
                                 int kiosk, const std::string& showPath,
                                 UINT codePage = CP_ACP);

// Removes the trailing run of "\" and '"' characters, stepping over
// the characters of the code page whole.
std::string TrimFolder(const std::string& folder, UINT codePage = CP_ACP);
