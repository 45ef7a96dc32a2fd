#pragma once

#include "framework/SessionEnd.h"
#include "keep/DailyRestart.h"
#include "keep/PointerHider.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Why the watch over a kept program ended.
enum class WatchEnd
{
    Ended,          // the show has ended: what was left of the program was ended
    NotResponding,  // a window of it did not respond for too long: it was ended
    SessionEnded,   // the session ended, or the thread was asked to quit
    PlannedRestart, // the daily restart's time came: it was closed
    Frozen,         // its alive file was not written for too long: it was ended
    Asked,          // a request from outside came: it was closed
    HoursOver,      // the show hours ended: it was closed
};

struct WatchResult
{
    WatchEnd end = WatchEnd::Ended;
    // A window of the program was found responding at some check.
    bool responded = false;
    // For a frozen show: whether its alive file was written since the start,
    // and for how long it was not.
    bool aliveWritten = false;
    unsigned aliveUnchangedSeconds = 0;
};

// Milliseconds the computer has been awake since it started: a sleep adds
// nothing.
ULONGLONG AwakeMs();

// How long an ended program may take to go before it counts as not ended.
inline constexpr DWORD kEndedWithinMs = 10000;

// Told the system's error where Windows refused to end the program, or
// ERROR_SUCCESS where the program was still there 10 s after it was ended.
using NotEndedAction = std::function<void(DWORD error)>;

struct WatchSettings
{
    // How long a window may stay not responding before the program is ended;
    // 0: the windows are not checked while the started process runs.
    unsigned notRespondingSeconds = 60;
    // The clock of every span the watch measures; a test stands in for a sleep.
    ULONGLONG (*awakeMs)() = AwakeMs;
    // Told whenever a check finds the show otherwise than the check before:
    // false once a window of it is found not responding, true once none is.
    std::function<void(bool responding)> onResponding;
    // A file the program writes as it plays (see CAliveFile; "" none), and
    // how long it may go unwritten.
    std::string aliveFile;
    unsigned aliveSeconds = 60;
    // Where set, asked to keep the display and the system on while the watch
    // runs, and to let go as it ends (SetThreadExecutionState; a test stands in).
    EXECUTION_STATE(WINAPI* executionState)(EXECUTION_STATE) = nullptr;
    // Where true, the screen saver is held off while the watch runs (see
    // CScreenSaverHold).
    bool holdScreenSaverOff = false;
    // Where not 0, the pointer is hidden once it has been still for so long
    // while the watch runs, and given back as it ends (see CPointerHider;
    // `hidePointer` hides it or gives it back, a test stands in).
    ULONGLONG pointerQuietMs = 0;
    void (*hidePointer)(bool hidden) = HideSystemPointer;
    // Where true, the windows are also checked where notRespondingSeconds is
    // 0, for onResponding alone (a heartbeat tells whether they respond).
    bool checkWindows = false;
    // Told once where the program could not be ended (see EndProgram).
    NotEndedAction onNotEnded;
    // Told once where the alive file was never there while the program ran
    // for its time (see CAliveFile).
    std::function<void()> onAliveFileNeverWritten;
    // Events a request from outside signals: each is waited on with the
    // program, and once signalled, told by its index to `onRequest`, which
    // takes it before the program is closed (see CloseProgram).
    std::vector<HANDLE> requests;
    std::function<void(size_t index)> onRequest;
    // Told of each top-level window of the show as Windows first shows it,
    // and again of each one visible after the displays were laid out anew.
    std::function<void(HWND window)> onWindowShown;
    // Where set, asked at the start of each minute whether the show hours are
    // over: the program is then closed (see CloseProgram), before any restart.
    std::function<bool()> hoursOver;
};

// Watches a kept program until its show has ended: the started process, then
// what it handed the show over to (see watch::RoleOf): each process left in
// its job is the show, an update at work (waited for) or a leftover. Until
// the started process has shown a window it is looked at every few seconds:
// one that never did is a launcher. The show ends when neither a process of
// the show nor an update is left, or when no update is at work and nothing of
// the show has shown a window for a minute; every process still in the job is
// then ended (a viewer the show opened, its crash reporter). Every few
// seconds the windows are checked, each visible one and each seen visible
// before: one found not responding at every check for the time set ends the
// program (see EndProgram). With checkWindows, the windows are checked
// also where no time is set. Nothing else takes the processor's time but the
// pointer's looks where it is to be hidden. An end during a logoff is the
// logoff's. Where `restart` has a time, the watch also
// wakes at the start of each minute, and when the restart is due, it closes
// the program (see CloseProgram), as does a request. An alive file is looked at with the
// windows: one not written for its time ends the program (see EndProgram).
WatchResult WatchProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job, const WatchSettings& settings,
                         watch::CDailyRestart& restart);

// Asks the program to close as a person would (its visible windows are sent
// WM_CLOSE), gives it 15 s, then ends what is left (see EndProgram); false
// where the session ended meanwhile.
bool CloseProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job, const NotEndedAction& notEnded);

// Ends every process of the program (a window that does not respond takes no
// request to close) and waits until they are gone, while the thread's windows
// get their messages; false where the session ended meanwhile. A program that
// Windows does not end, or that is still there after 10 s (stuck in a driver,
// held by a debugger), is told of once, and ended again every few seconds
// until it has gone: it never counts as ended while it is there.
bool EndProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job, const NotEndedAction& notEnded);
