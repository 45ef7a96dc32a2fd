#pragma once

#include "framework/SessionEnd.h"

#include <windows.h>

// Why the watch over a kept program ended.
enum class WatchEnd
{
    Ended,          // the program as a whole has ended
    NotResponding,  // a window of it did not respond for too long: it was ended
    SessionEnded,   // the session ended, or the thread was asked to quit
};

// Watches a kept program until it has ended: the started process, then
// whatever is left of it in its job (none: the process alone), until no
// process is left or none that is left has shown a visible window for a
// minute (those are left running). While `notRespondingSeconds` is not 0,
// the visible windows of its processes are checked every few seconds; one
// found not responding at every check for that long ends every process of
// the program, waiting until they are gone (10 s at most). Nothing else takes
// the processor's time. An end during a logoff is the logoff's.
WatchEnd WatchProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job, unsigned notRespondingSeconds);
