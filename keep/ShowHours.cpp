#include "keep/ShowHours.h"

#include "keep/ZoneClock.h"

#include <algorithm>

namespace hours
{
namespace
{
const char* const kDays[] = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Characters [from, to) of a text (substr would bring the library's exceptions in).
std::string Piece(const std::string& text, size_t from, size_t to)
{
    return std::string(text.begin() + from, text.begin() + to);
}

// Up to two digits' value; 99 for none.
int Number(const std::string& digits)
{
    if (digits.empty())
        return 99;
    return digits.size() == 1 ? digits[0] - '0' : (digits[0] - '0') * 10 + digits[1] - '0';
}

// One range's text, read from left to right.
class CRangeReader
{
public:
    explicit CRangeReader(const std::string& part) : text(part) {}

    bool Read(Range& range, std::string& wrong)
    {
        Blanks();
        if (position < text.size() && IsLetter(text[position]))
        {
            range.days = 0;
            do
            {
                if (!Days(range.days, wrong))
                    return false;
            } while (Take(','));
        }
        if (AtEnd())
            return Fail(wrong, "has no time");
        if (!Time(range.begin, wrong))
            return false;
        if (range.begin == 1440)
            return Fail(wrong, "begins at 24:00 (24:00 can only end a range)");
        if (!Take('-') || AtEnd())
            return Fail(wrong, "has no end time");
        if (!Time(range.end, wrong))
            return false;
        if (!AtEnd())
            return Fail(wrong, "has " + Quoted(Piece(text, position, text.size())) + " after its end time");
        return true;
    }

private:
    void Blanks()
    {
        while (position < text.size() && IsBlank(text[position]))
            ++position;
    }
    bool AtEnd()
    {
        Blanks();
        return position == text.size();
    }
    bool Take(char c)
    {
        Blanks();
        if (position == text.size() || text[position] != c)
            return false;
        ++position;
        Blanks();
        return true;
    }
    bool Fail(std::string& wrong, const std::string& what) const
    {
        wrong = Quoted(text) + " " + what;
        return false;
    }
    std::string Word(bool (*belongs)(char))
    {
        const size_t from = position;
        while (position < text.size() && belongs(text[position]))
            ++position;
        return Piece(text, from, position);
    }

    int Day(std::string& wrong)
    {
        const std::string word = Word(IsLetter);
        if (word.empty())
        {
            // Only after a "," or a "-": the first day is read where a letter stands.
            size_t before = position;
            while (IsBlank(text[before - 1]))
                --before;
            Fail(wrong, "has no day after \"" + Piece(text, before - 1, before) + "\"");
            return -1;
        }
        std::string lower = word;
        for (char& c : lower)
            c = char(c | 0x20);
        for (int day = 0; day < 7; ++day)
        {
            if (lower == kDays[day])
                return day;
        }
        wrong = Quoted(word) + " is no day (Mon, Tue, Wed, Thu, Fri, Sat, Sun)";
        return -1;
    }
    // A day, or a span of days; a span past Sunday goes on from Monday.
    bool Days(unsigned& days, std::string& wrong)
    {
        const int first = Day(wrong);
        if (first < 0)
            return false;
        int last = first;
        if (Take('-') && (last = Day(wrong)) < 0)
            return false;
        for (int day = first;; day = (day + 1) % 7)
        {
            days |= 1u << day;
            if (day == last)
                return true;
        }
    }
    // H:MM or HH:MM, 00:00 to 24:00.
    bool Time(int& minuteOfDay, std::string& wrong)
    {
        const size_t from = position;
        const std::string hour = Word(IsDigit);
        const bool colon = position < text.size() && text[position] == ':';
        position += colon;
        const std::string minute = Word(IsDigit);
        const int hours = Number(hour);
        const int minutes = Number(minute);
        minuteOfDay = hours * 60 + minutes;
        if (!colon || hour.size() > 2 || minute.size() != 2 || minutes > 59 || minuteOfDay > 1440)
        {
            while (position < text.size() && !IsBlank(text[position]) && text[position] != '-')
                ++position;
            wrong = Quoted(Piece(text, from, std::max(position, from + 1))) +
                    " is no time (H:MM or HH:MM, 00:00 to 24:00)";
            return false;
        }
        return true;
    }

    const std::string& text;
    size_t position = 0;
};
} // namespace

bool Parse(const std::string& text, ShowHours& hours, std::string& wrong)
{
    hours.ranges.clear();
    wrong.clear();
    size_t from = 0;
    while (from <= text.size())
    {
        size_t to = text.find(';', from);
        if (to == std::string::npos)
            to = text.size();
        size_t first = from, last = to;
        while (first < last && IsBlank(text[first]))
            ++first;
        while (last > first && IsBlank(text[last - 1]))
            --last;
        if (first < last)
        {
            const std::string part = Piece(text, first, last);
            Range range;
            if (!CRangeReader(part).Read(range, wrong))
            {
                hours.ranges.clear();
                return false;
            }
            hours.ranges.push_back(range);
        }
        from = to + 1;
    }
    return true;
}
} // namespace hours

namespace hours
{
namespace
{
struct Span
{
    LONGLONG begin;
    LONGLONG end;
};

// Every range's runs that begin from the day before `today` (local midnight)
// to a week and more after it, in UTC, joined where they meet or overlap.
std::vector<Span> RunsAround(const ShowHours& hours, LONGLONG today, const CZoneClock& clock)
{
    std::vector<Span> runs;
    for (int day = -1; day <= 8; ++day)
    {
        const LONGLONG midnight = today + day * kTicksPerDay;
        const unsigned weekday = (TimeOf(midnight).wDayOfWeek + 6) % 7;
        for (const Range& range : hours.ranges)
        {
            if (!(range.days & (1u << weekday)))
                continue;
            const int end = range.end <= range.begin ? range.end + 1440 : range.end;
            const Span run{clock.FirstAtOrAfter(midnight + range.begin * kTicksPerMinute),
                           clock.FirstAtOrAfter(midnight + end * kTicksPerMinute)};
            if (run.begin < run.end)
                InsertInOrder(runs, run, [](const Span& span) { return span.begin; });
        }
    }
    std::vector<Span> joined;
    for (const Span& run : runs)
    {
        if (!joined.empty() && run.begin <= joined.back().end)
            joined.back().end = std::max(joined.back().end, run.end);
        else
            joined.push_back(run);
    }
    return joined;
}

Verdict At(bool within, LONGLONG change, const CZoneClock& clock)
{
    Verdict verdict;
    verdict.within = within;
    if (change > 0)
    {
        verdict.nextChangeUtc = ULONGLONG(change);
        verdict.nextChangeLocal = TimeOf(clock.LocalAt(change));
    }
    return verdict;
}
} // namespace

Verdict Judge(const ShowHours& hours, ULONGLONG nowUtc, const TIME_ZONE_INFORMATION& zone)
{
    if (hours.Always())
        return Verdict{};
    const LONGLONG now = LONGLONG(nowUtc);
    const CZoneClock clock(zone, TimeOf(now).wYear);
    const LONGLONG local = clock.LocalAt(now);
    const LONGLONG today = local - local % kTicksPerDay;
    for (const Span& run : RunsAround(hours, today, clock))
    {
        // Runs that reach past the week looked at go on for ever.
        if (run.begin <= now && now < run.end)
            return At(true, run.end - now > 8 * kTicksPerDay ? 0 : run.end, clock);
        if (now < run.begin)
            return At(false, run.begin, clock);
    }
    return At(false, 0, clock);
}

Verdict JudgeNow(const ShowHours& hours)
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    TIME_ZONE_INFORMATION zone{};
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
        zone = TIME_ZONE_INFORMATION{};
    return Judge(hours, (ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime, zone);
}
} // namespace hours
