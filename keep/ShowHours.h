#pragma once

#include <windows.h>

#include <string>
#include <vector>

// When a kept show runs, in local time: a stored text read into ranges, and
// the verdict at a moment (values in, verdict out).
namespace hours
{
// One range of show hours: the days it begins on (bit 0 Monday ... bit 6 Sunday; all seven where none are
// written), its begin and its end in minutes of the local day (0..1440; 1440 is 24:00). An end at or before
// its begin runs over midnight into the next day, and belongs to the day it begins.
struct Range
{
    unsigned days = 0x7F;
    int begin = 0;
    int end = 1440;
};

// Empty: always.
struct ShowHours
{
    std::vector<Range> ranges;
    bool Always() const { return ranges.empty(); }
};

// Reads a stored text ("07:00-22:00", "Mon-Fri 07:00-19:00; Sat,Sun 10:00-16:00"); empty or blanks: always.
// false where it cannot be read, with what is wrong in plain English for a Warning and a box
// (`"Fri-Mon 7:00" has no end time`...).
bool Parse(const std::string& text, ShowHours& hours, std::string& wrong);

struct Verdict
{
    bool within = true;           // the show runs now
    ULONGLONG nextChangeUtc = 0;  // FILETIME ticks of the next begin (outside) or end (within); 0 never
    SYSTEMTIME nextChangeLocal{}; // the same, local time, for "Until" and "off hours until 07:00"
};

// The verdict at `nowUtc` (FILETIME ticks) in `zone`: values in, verdict out (tests pass their own zone with
// its daylight saving rules). A range's begin and end are the first instant whose local time is at or after
// them on that date: a begin in the hour skipped at the change to daylight saving time begins at its end, and
// a range in the hour that repeats at the change back runs once. A clock set forward or back is simply judged
// as it now stands.
Verdict Judge(const ShowHours& hours, ULONGLONG nowUtc, const TIME_ZONE_INFORMATION& zone);

// The same for the computer's clock and zone now (GetSystemTimeAsFileTime, GetTimeZoneInformation).
Verdict JudgeNow(const ShowHours& hours);
} // namespace hours
