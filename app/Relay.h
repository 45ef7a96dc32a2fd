#pragma once

#include <windows.h>

#include <string>

// SYSTEM, and session 0 where services run, have neither the keepers' named
// objects nor their HKEY_CURRENT_USER: a command asked there is run by this
// program again, as the user signed in at the console, in that user's
// session, and answered by that run. A keeper is never started in session 0.

// Whether a command asked of this run goes to the console user's session.
inline bool NeedsRelay(bool runsAsSystem, DWORD session)
{
    return runsAsSystem || session == 0;
}

// The command line of that run: this program, who asked ("/via"), then the
// switch and its value as given.
std::string RelayedCommandLine(const std::string& exePath, const std::string& switchName, const std::string& value,
                               const std::string& asker);

// What came of the run in the console user's session.
struct RelayRun
{
    bool userAtConsole = false;  // a user is signed in at the console
    DWORD startError = ERROR_SUCCESS;
    bool ended = false;  // within the time waited
    DWORD exitCode = 0;
    std::string line;  // what it printed
};

// The answer passed back, and the line to print: the run's own where it
// ended; 2 where nobody is signed in at the console or the run could not
// start. A /run that goes on (`keeps`) keeps its slot: 0; any other run that
// goes on did not answer: 1.
int RelayAnswer(const RelayRun& run, bool keeps, std::string& line);
