#include "keep/ShowHours.h"

#include "keep/ZoneClock.h"

#include <cstring>

namespace hours
{
namespace
{
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLetter(char c) { return unsigned((c | 0x20) - 'a') < 26; }
bool IsDigit(char c) { return unsigned(c - '0') < 10; }

// One range's text [from, end), blanks trimmed, read from left to right by pointers into the stored text
// (no pieces copied out of it).
struct CRangeReader
{
    const char* const from;
    const char* at;
    const char* const end;
    std::string& wrong;

    bool Read(Range& range)
    {
        if (IsLetter(*at))
        {
            range.days = 0;
            do
            {
                if (!Days(range.days))
                    return false;
            } while (Take(','));
        }
        if (AtEnd())
            return Fail(from, end, " has no time");
        if (!Time(range.begin))
            return false;
        if (range.begin == 1440)
            return Fail(from, end, " begins at 24:00 (24:00 can only end a range)");
        if (!Take('-') || AtEnd())
            return Fail(from, end, " has no end time");
        if (!Time(range.end))
            return false;
        if (AtEnd())
            return true;
        Fail(from, end, " has ");
        Quote(at, end);
        wrong += " after its end time";
        return false;
    }

    bool AtEnd()
    {
        while (at < end && IsBlank(*at))
            ++at;
        return at == end;
    }
    bool Take(char c)
    {
        if (AtEnd() || *at != c)
            return false;
        ++at;
        AtEnd();
        return true;
    }
    void Quote(const char* a, const char* b)
    {
        wrong += '"';
        wrong.append(a, b - a);
        wrong += '"';
    }
    bool Fail(const char* a, const char* b, const char* what)
    {
        Quote(a, b);
        wrong += what;
        return false;
    }

    // `after`: the "," or "-" a missing day would follow (the first day is read where a letter stands).
    int Day(char after)
    {
        const char* const word = at;
        while (at < end && IsLetter(*at))
            ++at;
        if (word == at)
        {
            Fail(from, end, " has no day after ");
            Quote(&after, &after + 1);
            return -1;
        }
        for (int day = 0; at - word == 3 && day < 7; ++day)
        {
            if (_strnicmp(word, "montuewedthufrisatsun" + 3 * day, 3) == 0)
                return day;
        }
        Fail(word, at, " is no day (Mon, Tue, Wed, Thu, Fri, Sat, Sun)");
        return -1;
    }
    // A day, or a span of days; a span past Sunday goes on from Monday.
    bool Days(unsigned& days)
    {
        const int first = Day(',');
        int last = first;
        if (first < 0 || (Take('-') && (last = Day('-')) < 0))
            return false;
        for (int day = first;; day = (day + 1) % 7)
        {
            days |= 1u << day;
            if (day == last)
                return true;
        }
    }
    // The count of digits from here, and the value of the first two.
    int Digits(int& value)
    {
        const char* const first = at;
        for (; at < end && IsDigit(*at); ++at)
        {
            if (at - first < 2)
                value = value * 10 + (*at - '0');
        }
        return int(at - first);
    }
    // H:MM or HH:MM, 00:00 to 24:00.
    bool Time(int& minuteOfDay)
    {
        const char* const first = at;
        int hour = 0, minute = 0;
        const int hourDigits = Digits(hour);
        const bool colon = at < end && *at == ':';
        at += colon;
        const int minuteDigits = Digits(minute);
        minuteOfDay = hour * 60 + minute;
        if (colon && unsigned(hourDigits - 1) < 2 && minuteDigits == 2 && minute < 60 && minuteOfDay <= 1440)
            return true;
        while (at < end && !IsBlank(*at) && *at != '-')
            ++at;
        return Fail(first, at > first ? at : first + 1, " is no time (H:MM or HH:MM, 00:00 to 24:00)");
    }
};
} // namespace

bool Parse(const std::string& text, ShowHours& hours, std::string& wrong)
{
    wrong.clear();
    const char* part = text.c_str();
    const char* const stop = part + text.size();
    // Room for a range between every two ";" at once: growing the list range by range costs more code.
    size_t parts = 1;
    for (const char* c = part; c < stop; ++c)
        parts += *c == ';';
    std::vector<Range>& read = hours.ranges;
    read = std::vector<Range>(parts);
    size_t used = 0;
    for (;;)
    {
        const char* to = part;
        while (to < stop && *to != ';')
            ++to;
        const char* last = to;
        while (part < last && IsBlank(*part))
            ++part;
        while (last > part && IsBlank(last[-1]))
            --last;
        if (part < last)
        {
            CRangeReader reader{part, part, last, wrong};
            if (!reader.Read(read[used++]))
            {
                read.clear();
                return false;
            }
        }
        if (to == stop)
            break;
        part = to + 1;
    }
    read.erase(read.begin() + used, read.end());
    return true;
}

Verdict Judge(const ShowHours& hours, ULONGLONG nowUtc, const TIME_ZONE_INFORMATION& zone)
{
    Verdict verdict;
    if (hours.Always())
        return verdict;
    const LONGLONG now = LONGLONG(nowUtc);
    const CZoneClock clock(zone, TimeOf(now).wYear);
    const LONGLONG local = clock.LocalAt(now);
    const LONGLONG today = local - local % kTicksPerDay;
    // Every range's runs that begin from the day before today to a week and more after it, in UTC, taken as
    // joined where they meet or overlap: within one, its end is stretched by the runs it reaches until none
    // does; outside, the next change is the nearest begin.
    verdict.within = false;
    LONGLONG change = 0;
    for (bool stretched = true; stretched;)
    {
        stretched = false;
        for (int day = -1; day <= 8; ++day)
        {
            const LONGLONG midnight = today + day * kTicksPerDay;
            const unsigned weekday = (TimeOf(midnight).wDayOfWeek + 6) % 7;
            for (const Range& range : hours.ranges)
            {
                if (!(range.days & (1u << weekday)))
                    continue;
                const int endMinute = range.end <= range.begin ? range.end + 1440 : range.end;
                const LONGLONG begin = clock.FirstAtOrAfter(midnight + range.begin * kTicksPerMinute);
                const LONGLONG end = clock.FirstAtOrAfter(midnight + endMinute * kTicksPerMinute);
                if (begin >= end)
                    continue;
                const LONGLONG at = verdict.within ? change : now;
                if (begin <= at && at < end)
                {
                    verdict.within = true;
                    change = end;
                    stretched = true;
                }
                else if (!verdict.within && now < begin && (!change || begin < change))
                    change = begin;
            }
        }
    }
    // Runs that reach past the week looked at go on for ever.
    if (verdict.within && change - now > 8 * kTicksPerDay)
        change = 0;
    if (change)
    {
        verdict.nextChangeUtc = ULONGLONG(change);
        verdict.nextChangeLocal = TimeOf(clock.LocalAt(change));
    }
    return verdict;
}

Verdict JudgeNow(const ShowHours& hours)
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    TIME_ZONE_INFORMATION zone;
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
        zone = TIME_ZONE_INFORMATION{};
    return Judge(hours, (ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime, zone);
}
} // namespace hours
