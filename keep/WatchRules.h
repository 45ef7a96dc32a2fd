#pragma once

#include <windows.h>

#include <vector>

// The decisions of the watch over a kept program, from what its checks found
// and when: plain values in, a verdict out.
namespace watch
{
// How often the program's windows are checked.
inline constexpr ULONGLONG kCheckMs = 5000;
// How long what is left of the program may go without a visible window
// before it counts as ended: an updater or a helper outlives its program.
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

// What is left once the started process has ended is the show where it was
// handed over: by a launcher, soon after its start, the whole of what is
// left; after a longer run (a program that restarts itself, an updater) each
// process started from shortly before that end on.
inline constexpr ULONGLONG kHandOverMs = 60000;
inline constexpr ULONGLONG kHandedOverBeforeEndMs = 30000;

// The earliest creation time (in 100 ns since 1601, as FILETIME counts) of a
// process left that is the show, from the started process's run and end.
inline ULONGLONG HandedOverSince(ULONGLONG startedRanMs, ULONGLONG endedAt)
{
    const ULONGLONG before = kHandedOverBeforeEndMs * 10000;
    return startedRanMs < kHandOverMs ? 0 : endedAt > before ? endedAt - before : 0;
}

// Once the started process has ended: what was handed the show (if anything)
// is no show when no window of it has been found since
// `windowlessSinceMs` (0: one was found at the last check) for long enough.
inline bool LeftIsNoShow(ULONGLONG windowlessSinceMs, ULONGLONG nowMs)
{
    return windowlessSinceMs != 0 && nowMs - windowlessSinceMs >= kWindowlessMs;
}
} // namespace watch
