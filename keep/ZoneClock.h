#pragma once

#include <windows.h>

namespace hours
{
// A zone's local clock over the years around one, worked out from the zone's
// own rule (StandardDate, DaylightDate) rather than asked of the system, whose
// conversions at the changes differ between Windows versions and Wine. Times
// are FILETIME ticks: UTC, or the local wall clock counted the same way.
class CZoneClock
{
public:
    CZoneClock(const TIME_ZONE_INFORMATION& zone, WORD year);

    LONGLONG LocalAt(LONGLONG utc) const;
    // The first instant whose local time is at or after `local`: the end of the
    // skipped hour for a time within it, the first pass for a repeated one.
    LONGLONG FirstAtOrAfter(LONGLONG local) const;

private:
    // From `from` on (UTC), UTC is the local time plus `bias`.
    struct Span
    {
        LONGLONG from;
        LONGLONG bias;
    };
    // The bias before the first change, then the changes in order: two a year over three years.
    Span spans[7];
    int count = 1;
};

constexpr LONGLONG kTicksPerMinute = 600000000;
constexpr LONGLONG kTicksPerDay = 1440 * kTicksPerMinute;

LONGLONG TicksOf(const SYSTEMTIME& time);
SYSTEMTIME TimeOf(LONGLONG ticks);
} // namespace hours
