#include "keep/ZoneClock.h"

#include <algorithm>
#include <climits>

namespace hours
{
LONGLONG TicksOf(const SYSTEMTIME& time)
{
    FILETIME file{};
    if (!SystemTimeToFileTime(&time, &file))
        return -1;
    return static_cast<LONGLONG>((ULONGLONG(file.dwHighDateTime) << 32) | file.dwLowDateTime);
}

SYSTEMTIME TimeOf(LONGLONG ticks)
{
    const FILETIME file{DWORD(ticks), DWORD(ULONGLONG(ticks) >> 32)};
    SYSTEMTIME time{};
    FileTimeToSystemTime(&file, &time);
    return time;
}

namespace
{
// The local time at which a rule changes the clock in `year`: a date of that
// year where the rule has one, else the wDay-th wDayOfWeek of its month
// (5: the last).
LONGLONG ChangeIn(const SYSTEMTIME& rule, WORD year)
{
    SYSTEMTIME date{year, rule.wMonth, 0, 1, 0, 0, 0, 0};
    if (rule.wYear)
        date.wDay = rule.wDay;
    else
    {
        const WORD firstDayOfWeek = TimeOf(TicksOf(date)).wDayOfWeek;
        date.wDay = WORD(1 + (rule.wDayOfWeek + 7 - firstDayOfWeek) % 7 + 7 * (std::clamp<WORD>(rule.wDay, 1, 5) - 1));
        while (date.wDay > 28 && TicksOf(date) < 0)
            date.wDay -= 7;
    }
    const LONGLONG midnight = TicksOf(date);
    if (midnight < 0)
        return -1;
    return midnight + LONGLONG((rule.wHour * 60 + rule.wMinute) * 60 + rule.wSecond) * 10000000 +
           rule.wMilliseconds * 10000;
}
} // namespace

CZoneClock::CZoneClock(const TIME_ZONE_INFORMATION& zone, WORD year)
{
    const LONGLONG standard = (zone.Bias + zone.StandardBias) * kTicksPerMinute;
    const LONGLONG daylight = (zone.Bias + zone.DaylightBias) * kTicksPerMinute;
    if (zone.StandardDate.wMonth && zone.DaylightDate.wMonth)
    {
        for (WORD y = year - 1; y <= year + 1; ++y)
        {
            // Daylight saving time begins at a standard local time, and ends at a daylight one.
            const LONGLONG begins = ChangeIn(zone.DaylightDate, y);
            const LONGLONG ends = ChangeIn(zone.StandardDate, y);
            if (begins >= 0 && ends >= 0)
            {
                spans[count++] = Span{begins + standard, daylight};
                spans[count++] = Span{ends + daylight, standard};
            }
        }
    }
    // The changes in order (std::sort would cost the program kilobytes for six).
    for (int i = 2; i < count; ++i)
    {
        for (int j = i; j > 1 && spans[j].from < spans[j - 1].from; --j)
            std::swap(spans[j], spans[j - 1]);
    }
    spans[0] = Span{LLONG_MIN, count == 1 || spans[1].bias == daylight ? standard : daylight};
}

LONGLONG CZoneClock::LocalAt(LONGLONG utc) const
{
    int i = count - 1;
    while (i > 0 && spans[i].from > utc)
        --i;
    return utc - spans[i].bias;
}

LONGLONG CZoneClock::FirstAtOrAfter(LONGLONG local) const
{
    int i = 0;
    while (i + 1 < count && local + spans[i].bias >= spans[i + 1].from)
        ++i;
    return std::max(spans[i].from, local + spans[i].bias);
}
} // namespace hours
