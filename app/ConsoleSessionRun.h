#pragma once

#include "app/Relay.h"

#include <string>

// Whether this process runs as SYSTEM, and its session.
bool RunsAsSystem();
DWORD SessionOfThisProcess();

// Runs the command line as the user signed in at the console, in that user's
// session with that user's environment, and waits for it (`waitMs` at most),
// reading what it prints. wtsapi32 and userenv are loaded only here, so that
// no logon loads them for nothing.
RelayRun RunInConsoleSession(const std::string& commandLine, DWORD waitMs);
