#include "keep/ShowHours.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace
{
// "days(hex) begin-end; ..." in minutes.
std::string Ranges(const hours::ShowHours& hours)
{
    std::string text;
    for (const hours::Range& range : hours.ranges)
    {
        char part[40];
        std::snprintf(part, sizeof part, "%s%x %d-%d", text.empty() ? "" : "; ", range.days, range.begin, range.end);
        text += part;
    }
    return text;
}

TEST(ShowHoursTest, ReadsRangesAndSaysWhatIsWrong)
{
    const struct
    {
        const char* text;
        const char* ranges;  // where read
        const char* wrong;   // where not
    } rows[] = {
        {"", "", ""},
        {"  \t ", "", ""},
        {"07:00-22:00", "7f 420-1320", ""},
        {"7:00-9:30", "7f 420-570", ""},
        {"Mon-Fri 07:00-19:00; Sat,Sun 10:00-16:00", "1f 420-1140; 60 600-960", ""},
        {" mon - FRI 07:00 - 19:00 ;sat , SUN 10:00-16:00 ; ", "1f 420-1140; 60 600-960", ""},
        {"Mon,Wed-Thu,Sat 09:00-17:00", "2d 540-1020", ""},
        {"Fri-Mon 20:00-02:00", "71 1200-120", ""},
        {"Sun 22:00-06:00", "40 1320-360", ""},
        {"00:00-24:00", "7f 0-1440", ""},
        {"Fri-Mon 7:00", "", "\"Fri-Mon 7:00\" has no end time"},
        {"07:00-", "", "\"07:00-\" has no end time"},
        {"Mon-Fri", "", "\"Mon-Fri\" has no time"},
        {"Mox 07:00-19:00", "", "\"Mox\" is no day (Mon, Tue, Wed, Thu, Fri, Sat, Sun)"},
        {"Monday 07:00-19:00", "", "\"Monday\" is no day (Mon, Tue, Wed, Thu, Fri, Sat, Sun)"},
        {"Mon, 07:00-19:00", "", "\"Mon, 07:00-19:00\" has no day after \",\""},
        {"07:00-25:00", "", "\"25:00\" is no time (H:MM or HH:MM, 00:00 to 24:00)"},
        {"07:60-08:00", "", "\"07:60\" is no time (H:MM or HH:MM, 00:00 to 24:00)"},
        {"7.00-19:00", "", "\"7.00\" is no time (H:MM or HH:MM, 00:00 to 24:00)"},
        {"107:00-19:00", "", "\"107:00\" is no time (H:MM or HH:MM, 00:00 to 24:00)"},
        {"24:00-06:00", "", "\"24:00-06:00\" begins at 24:00 (24:00 can only end a range)"},
        {"07:00-19:00 Sat", "", "\"07:00-19:00 Sat\" has \"Sat\" after its end time"},
        {"Mon 07:00-19:00; Sat 10:00", "", "\"Sat 10:00\" has no end time"},
    };
    for (const auto& row : rows)
    {
        hours::ShowHours hours;
        hours.ranges.resize(1);
        std::string wrong = "left over";
        const bool read = hours::Parse(row.text, hours, wrong);
        EXPECT_EQ(!*row.wrong, read) << row.text;
        EXPECT_EQ(row.ranges, Ranges(hours)) << row.text;
        EXPECT_EQ(row.wrong, wrong) << row.text;
    }
}

ULONGLONG Utc(const char* text)  // "YYYY-MM-DD HH:MM"
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    std::sscanf(text, "%d-%d-%d %d:%d", &year, &month, &day, &hour, &minute);
    const SYSTEMTIME time{WORD(year), WORD(month), 0, WORD(day), WORD(hour), WORD(minute), 0, 0};
    FILETIME file{};
    SystemTimeToFileTime(&time, &file);
    return (ULONGLONG(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

// "in|out until Mon 12-07 19:00 (18:00Z)", or "in|out" where nothing changes.
std::string Said(const hours::Verdict& verdict)
{
    std::string said = verdict.within ? "in" : "out";
    if (verdict.nextChangeUtc)
    {
        static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
        const FILETIME file{DWORD(verdict.nextChangeUtc), DWORD(verdict.nextChangeUtc >> 32)};
        SYSTEMTIME utc{};
        FileTimeToSystemTime(&file, &utc);
        const SYSTEMTIME& local = verdict.nextChangeLocal;
        char until[64];
        std::snprintf(until, sizeof until, " until %s %02u-%02u %02u:%02u (%02u:%02uZ)", days[local.wDayOfWeek % 7],
                      local.wMonth, local.wDay, local.wHour, local.wMinute, utc.wHour, utc.wMinute);
        said += until;
    }
    return said;
}

// Central Europe (UTC+1; +2 from the last Sunday of March 02:00 to the last of October 03:00) and
// Sydney (UTC+10; +11 from the first Sunday of October to the first of April).
const TIME_ZONE_INFORMATION kEurope{-60, {}, {0, 10, 0, 5, 3, 0, 0, 0}, 0, {}, {0, 3, 0, 5, 2, 0, 0, 0}, -60};
const TIME_ZONE_INFORMATION kSydney{-600, {}, {0, 4, 0, 1, 3, 0, 0, 0}, 0, {}, {0, 10, 0, 1, 2, 0, 0, 0}, -60};

TEST(ShowHoursTest, JudgesAMomentInLocalTime)
{
    const struct
    {
        const char* description;
        const char* hours;
        const char* nowUtc;
        const char* verdict;
        const TIME_ZONE_INFORMATION& zone = kEurope;
    } rows[] = {
        {"always", "", "2026-12-07 05:59", "in"},
        {"before the begin", "Mon-Fri 07:00-19:00", "2026-12-07 05:59", "out until Mon 12-07 07:00 (06:00Z)"},
        {"at the begin", "Mon-Fri 07:00-19:00", "2026-12-07 06:00", "in until Mon 12-07 19:00 (18:00Z)"},
        {"at the end, over the weekend", "Mon-Fri 07:00-19:00", "2026-12-11 18:00", "out until Mon 12-14 07:00 (06:00Z)"},
        {"over midnight, begun the day before", "Fri 22:00-02:00", "2026-12-12 00:30", "in until Sat 12-12 02:00 (01:00Z)"},
        {"over midnight belongs to its begin's day", "Sat 22:00-02:00", "2026-12-11 22:30", "out until Sat 12-12 22:00 (21:00Z)"},
        {"to 24:00", "Mon 07:00-24:00", "2026-12-07 22:59", "in until Tue 12-08 00:00 (23:00Z)"},
        {"the whole day every day", "00:00-24:00", "2026-12-09 12:00", "in"},
        {"whole days joined", "Mon-Fri 00:00-24:00", "2026-12-09 12:00", "in until Sat 12-12 00:00 (23:00Z)"},
        {"overlapping ranges joined, in any order", "Mon 11:00-14:00; Mon 09:00-12:00", "2026-12-07 09:30", "in until Mon 12-07 14:00 (13:00Z)"},
        {"a clock set forward past the end", "07:00-19:00", "2026-12-07 19:30", "out until Tue 12-08 07:00 (06:00Z)"},
        {"a clock set back before the begin", "07:00-19:00", "2026-12-07 04:00", "out until Mon 12-07 07:00 (06:00Z)"},
        {"a begin in the skipped hour", "02:30-05:00", "2026-03-29 00:59", "out until Sun 03-29 03:00 (01:00Z)"},
        {"begins at the skipped hour's end", "02:30-05:00", "2026-03-29 01:00", "in until Sun 03-29 05:00 (03:00Z)"},
        {"an end in the skipped hour", "01:00-02:30", "2026-03-29 00:30", "in until Sun 03-29 03:00 (01:00Z)"},
        {"the short night", "Sat 22:00-06:00", "2026-03-28 21:00", "in until Sun 03-29 06:00 (04:00Z)"},
        {"the repeated hour, first pass", "02:15-02:45", "2026-10-25 00:20", "in until Sun 10-25 02:45 (00:45Z)"},
        {"the repeated hour, second pass", "02:15-02:45", "2026-10-25 01:20", "out until Mon 10-26 02:15 (01:15Z)"},
        {"an end in the repeated hour", "01:00-02:30", "2026-10-25 00:40", "out until Mon 10-26 01:00 (00:00Z)"},
        {"the long night", "Sat 22:00-06:00", "2026-10-24 20:00", "in until Sun 10-25 06:00 (05:00Z)"},
        {"summer in the south", "07:00-19:00", "2026-01-04 19:59", "out until Mon 01-05 07:00 (20:00Z)", kSydney},
    };
    for (const auto& row : rows)
    {
        hours::ShowHours hours;
        std::string wrong;
        ASSERT_TRUE(hours::Parse(row.hours, hours, wrong)) << row.hours << ": " << wrong;
        EXPECT_EQ(row.verdict, Said(hours::Judge(hours, Utc(row.nowUtc), row.zone))) << row.description;
    }
}
} // namespace
