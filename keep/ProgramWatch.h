#pragma once

#include "framework/SessionEnd.h"
#include "keep/DailyRestart.h"

#include <windows.h>

// Why the watch over a kept program ended.
enum class WatchEnd
{
    Ended,          // the program as a whole has ended
    NotResponding,  // a window of it did not respond for too long: it was ended
    SessionEnded,   // the session ended, or the thread was asked to quit
    PlannedRestart, // the daily restart's time came: it was closed
};

struct WatchResult
{
    WatchEnd end = WatchEnd::Ended;
    // A window of the program was found responding at some check.
    bool responded = false;
};

// Watches a kept program until it has ended: the started process; where it
// ended within a minute of its start (a launcher that handed over), whatever
// is left of it in its job (none: the process alone), until no process is
// left or none that is left has shown a window for a minute (those are left
// running). While `notRespondingSeconds` is not 0, the windows of its
// processes are checked every few seconds, each visible one and each seen
// visible before; one found not responding at every check for that long ends
// the program (see EndProgram). Nothing else takes the processor's time. An
// end during a logoff is the logoff's. Where `restart` has a time, the watch
// also wakes at the start of each minute, and when the restart is due, it
// closes the program (see CloseProgram).
WatchResult WatchProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job, unsigned notRespondingSeconds,
                         watch::CDailyRestart& restart);

// Asks the program to close as a person would (its visible windows are sent
// WM_CLOSE), gives it 15 s, then ends what is left (see EndProgram); false
// where the session ended meanwhile.
bool CloseProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job);

// Ends every process of the program (a window that does not respond takes no
// request to close) and waits until they are gone, 10 s at most, while the
// thread's windows get their messages; false where the session ended
// meanwhile.
bool EndProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job);
