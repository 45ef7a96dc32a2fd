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

// Only a launcher hands the show over to what it started, soon after its own
// start: what is left after the started process ran longer is no show.
inline constexpr ULONGLONG kHandOverMs = 60000;

inline bool LeftMayBeTheShow(ULONGLONG startedRanMs)
{
    return startedRanMs < kHandOverMs;
}

// Once the started process has ended: what is left of the program (if
// anything) is no show when no window of it has been found since
// `windowlessSinceMs` (0: one was found at the last check) for long enough.
inline bool LeftIsNoShow(ULONGLONG windowlessSinceMs, ULONGLONG nowMs)
{
    return windowlessSinceMs != 0 && nowMs - windowlessSinceMs >= kWindowlessMs;
}
} // namespace watch
