#pragma once

#include <windows.h>

#include <string>

// A kept program restarted at a set time each day (a player that leaks
// memory, a stream that drifts), decided from the local times at which the
// watch wakes: plain values in, a verdict out.
namespace watch
{
// "HH:MM" (24-hour; the hour may have one digit) as minutes after midnight;
// -1 where the text is no such time.
int MinuteOfDay(const std::string& text);

class CDailyRestart
{
public:
    // -1: never.
    void SetMinute(int minuteOfDay) { minute = minuteOfDay; }
    bool IsSet() const { return minute >= 0; }

    // The watch begins at this local time: a restart minute under way (the
    // program came back within it) is not due again.
    void Begin(const SYSTEMTIME& now) { armed = !InMinute(now); }

    // A wake of the watch at this local time: true when the restart is due,
    // its minute having come while the program was watched, and not yet on
    // this date. A minute that passed while the computer slept, or that the
    // clock skipped, is not caught up; a clock set back brings no second
    // restart on the same date.
    bool DueAt(const SYSTEMTIME& now)
    {
        const bool inMinute = InMinute(now);
        const unsigned date = now.wYear * 10000u + now.wMonth * 100u + now.wDay;
        const bool due = inMinute && armed && date != lastDate;
        if (due)
            lastDate = date;
        armed = !inMinute;
        return due;
    }

    // From this local time to the start of the next minute, when the watch
    // looks again.
    static DWORD UntilNextMinute(const SYSTEMTIME& now)
    {
        return (60 - now.wSecond % 60) * 1000 - now.wMilliseconds % 1000;
    }

private:
    bool InMinute(const SYSTEMTIME& now) const { return minute >= 0 && now.wHour * 60 + now.wMinute == minute; }

    int minute = -1;
    bool armed = false;
    unsigned lastDate = 0;
};
} // namespace watch
