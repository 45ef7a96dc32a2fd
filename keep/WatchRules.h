#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

// The decisions of the watch over a kept program, from what its checks found
// and when: plain values in, a verdict out.
namespace watch
{
// Whether a process id is among those found.
inline bool Holds(const std::vector<DWORD>& ids, DWORD id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// How often the program's windows are checked.
inline constexpr ULONGLONG kCheckMs = 5000;
// How long the show may go without a visible window, with no update at
// work, before it counts as ended: a helper outlives its program.
inline constexpr ULONGLONG kWindowlessMs = 60000;

struct WindowState
{
    HWND window;
    bool responding;
};

// Windows found not responding, each with the time of the first of the
// checks in a row that found it so.
class CHangTracker
{
public:
    // Takes one check's findings at `nowMs`; true once a window has been found
    // not responding at every check for `seconds` (0: never).
    bool NotRespondingTooLong(const std::vector<WindowState>& windows, ULONGLONG nowMs, unsigned seconds)
    {
        std::vector<Hung> stillHung;
        bool tooLong = false;
        for (const WindowState& state : windows)
        {
            if (state.responding)
                continue;
            ULONGLONG since = nowMs;
            for (const Hung& before : hung)
                if (before.window == state.window)
                    since = before.sinceMs;
            stillHung.push_back({state.window, since});
            tooLong = tooLong || (seconds != 0 && nowMs - since >= seconds * 1000ULL);
        }
        hung = std::move(stillHung);
        return tooLong;
    }

private:
    struct Hung
    {
        HWND window;
        ULONGLONG sinceMs;
    };
    std::vector<Hung> hung;
};

// What a process of the program that ended (the started one, or an update at
// work) hands over: each process left in the job is judged by the one that
// ended last among those started before it.
inline constexpr ULONGLONG kHandOverMs = 60000;
inline constexpr ULONGLONG kHandedOverBeforeEndMs = 30000;
// How long an update at work is waited for.
inline constexpr ULONGLONG kUpdateMs = 600000;
// An exit code of an exception (an access violation, a stack overrun...).
inline constexpr DWORD kFirstCrashCode = 0xC0000000;

struct Ending
{
    ULONGLONG createdAt; // FILETIME counts (100 ns since 1601)
    ULONGLONG endedAt;
    bool showedWindow;  // a visible window of its own was ever found
    DWORD exitCode;
    ULONGLONG noticedMs; // awake time when the watch found it ended
};

struct LeftProcess
{
    ULONGLONG createdAt; // 0: not readable
    bool sameProgram;   // the same program file as the one that ended
    bool showedWindow;
};

enum class Role
{
    Show,
    Update,   // waited for until it ends or has had its time, however long it shows no window
    Leftover, // ended once the show has ended
};

// A launcher (a run under a minute, or no window of its own however long)
// hands over all it left; a crash after a longer run nothing; otherwise what
// was started from 30 s before the end on: the same program file is the show
// (a restart, an update's relaunch), another one without a window an update.
// One whose start cannot be read counts as the show, so that no second copy
// is started beside it.
inline Role RoleOf(const Ending& ended, const LeftProcess& left, ULONGLONG nowMs)
{
    const ULONGLONG ranMs = (ended.endedAt - ended.createdAt) / 10000;
    if (ranMs >= kHandOverMs && ended.exitCode >= kFirstCrashCode)
        return Role::Leftover;
    if (ranMs < kHandOverMs || !ended.showedWindow || left.createdAt == 0)
        return Role::Show;
    if (left.createdAt + kHandedOverBeforeEndMs * 10000 < ended.endedAt)
        return Role::Leftover;
    if (left.sameProgram)
        return Role::Show;
    return !left.showedWindow && nowMs - ended.noticedMs < kUpdateMs ? Role::Update : Role::Leftover;
}

// Once the started process has ended: what was handed the show (if anything)
// is no show when no window of it has been found since
// `windowlessSinceMs` (0: one was found at the last check, or an update is
// at work) for long enough.
inline bool LeftIsNoShow(ULONGLONG windowlessSinceMs, ULONGLONG nowMs)
{
    return windowlessSinceMs != 0 && nowMs - windowlessSinceMs >= kWindowlessMs;
}
} // namespace watch
