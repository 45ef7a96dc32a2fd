#include "keep/DailyRestart.h"
#include "keep/PointerHider.h"
#include "keep/WatchRules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{
struct HangCase
{
    const char* description;
    unsigned seconds;
    // One check every 5 s: for each, the windows found, "h" not responding, "r" responding (window 1,
    // 2, ...).
    std::vector<std::string> checks;
    int endedAt;  // the check that ends the program; -1 none
};

class HangTrackerTest : public ::testing::TestWithParam<HangCase>
{
};

TEST_P(HangTrackerTest, EndsOnlyAWindowNotRespondingAtEveryCheckForLongEnough)
{
    const HangCase& row = GetParam();
    watch::CHangTracker tracker;
    int endedAt = -1;
    for (size_t check = 0; check < row.checks.size() && endedAt < 0; ++check)
    {
        std::vector<watch::WindowState> windows;
        for (size_t i = 0; i < row.checks[check].size(); ++i)
            windows.push_back({reinterpret_cast<HWND>(i + 1), row.checks[check][i] == 'r'});
        if (tracker.NotRespondingTooLong(windows, 1000 + check * watch::kCheckMs, row.seconds))
            endedAt = static_cast<int>(check);
    }
    EXPECT_EQ(row.endedAt, endedAt) << row.description;
}

INSTANTIATE_TEST_SUITE_P(
    Checks, HangTrackerTest,
    ::testing::Values(HangCase{"hung from the first check", 15, {"h", "h", "h", "h", "h"}, 3},
                      HangCase{"answers once in between", 15, {"h", "h", "r", "h", "h", "h", "h"}, 6},
                      HangCase{"another window hangs in turn", 10, {"hr", "rh", "hr", "rh"}, -1},
                      HangCase{"one of two hangs", 10, {"rh", "rh", "rh"}, 2},
                      HangCase{"never checked", 0, {"h", "h", "h", "h"}, -1},
                      HangCase{"no window", 10, {"", "", ""}, -1}));
} // namespace

namespace
{
SYSTEMTIME At(const char* text)  // "D HH:MM:SS", D the day of December 2026
{
    int day = 0, hour = 0, minute = 0, second = 0;
    std::sscanf(text, "%d %d:%d:%d", &day, &hour, &minute, &second);
    return SYSTEMTIME{2026, 12, 0, WORD(day), WORD(hour), WORD(minute), WORD(second), 0};
}

TEST(DailyRestartTest, IsDueOnceADayWhenItsMinuteComesWhileTheProgramIsWatched)
{
    const struct
    {
        const char* description;
        const char* begin;
        std::vector<const char*> wakes;
        std::string due;  // D where the wake restarts the program
    } rows[] = {
        {"the minute comes", "1 03:58:10", {"1 03:59:00", "1 04:00:00", "1 04:01:00"}, ".D."},
        {"back within the minute of the restart", "1 04:00:25", {"1 04:00:40", "1 04:01:00", "1 04:02:00"}, "..."},
        {"the next day too", "1 03:59:30", {"1 04:00:00", "1 04:01:00", "2 03:59:00", "2 04:00:00"}, "D..D"},
        {"the clock set back after the restart", "1 03:59:30", {"1 04:00:00", "1 04:01:00", "1 03:01:00", "1 04:00:00"},
         "D..."},
        {"the clock moved forward past the time", "1 03:58:30", {"1 03:59:00", "1 05:00:00", "1 05:01:00"}, "..."},
        {"asleep through the time", "1 03:50:00", {"1 03:51:00", "1 07:30:12", "1 07:31:00"}, "..."}};
    for (const auto& row : rows)
    {
        watch::CDailyRestart restart;
        restart.SetMinute(watch::MinuteOfDay("04:00"));
        restart.Begin(At(row.begin));
        std::string due;
        for (const char* wake : row.wakes)
            due += restart.DueAt(At(wake)) ? 'D' : '.';
        EXPECT_EQ(row.due, due) << row.description;
    }
}

TEST(DailyRestartTest, TakesTwentyFourHourTimesOnly)
{
    const std::pair<const char*, int> rows[] = {{"04:00", 240}, {"4:05", 245}, {"23:59", 1439}, {"00:00", 0},
                                                {"24:00", -1},  {"25:00", -1}, {"4 Uhr", -1},   {"12:5", -1},
                                                {"", -1},       {"04:00 ", -1}, {"-1:30", -1}};
    for (const auto& [text, minute] : rows)
        EXPECT_EQ(minute, watch::MinuteOfDay(text)) << "\"" << text << "\"";
}
} // namespace

namespace
{
TEST(HandOverRulesTest, JudgesEachProcessLeftByHowTheProgramEndedAndWhenItWasStarted)
{
    const struct
    {
        const char* description;
        int ranSeconds;
        bool startedShowedWindow;
        DWORD exitCode;
        int createdFromEnd;  // seconds; 0: its start cannot be read
        bool sameProgram, showedWindow;
        int waitedMinutes;
        char role;  // S the show, U an update at work, L a leftover
    } rows[] = {
        {"a launcher's quick end", 20, false, 0, -15, false, false, 0, 'S'},
        {"a launcher that waited 65 s", 65, false, 0, -64, false, true, 0, 'S'},
        {"a viewer opened long before", 3600, true, 0, -3000, false, true, 0, 'L'},
        {"a helper started 31 s before the end", 3600, true, 0, -31, false, false, 0, 'L'},
        {"a restart", 3600, true, 0, -2, true, false, 0, 'S'},
        {"an update's relaunch", 3600, true, 0, 20, true, true, 0, 'S'},
        {"an updater", 3600, true, 0, -3, false, false, 9, 'U'},
        {"an updater past its time", 3600, true, 0, -3, false, false, 10, 'L'},
        {"a program with a window", 3600, true, 0, -1, false, true, 0, 'L'},
        {"after a crash", 3600, true, 0xC0000005, -1, true, false, 0, 'L'},
        {"after a crash in the first minute", 30, true, 0xC0000409, -1, false, true, 0, 'S'},
        {"a start that cannot be read", 3600, true, 0, 0, false, false, 0, 'S'},
    };
    const ULONGLONG second = 10000000, createdAt = 130000000000000000ULL;
    for (const auto& row : rows)
    {
        const watch::Ending ended{createdAt, createdAt + row.ranSeconds * second, row.startedShowedWindow, row.exitCode,
                                  1000};
        const watch::LeftProcess left{row.createdFromEnd == 0 ? 0 : ended.endedAt + row.createdFromEnd * second,
                                      row.sameProgram, row.showedWindow};
        const watch::Role role = watch::RoleOf(ended, left, 1000 + row.waitedMinutes * 60000ULL);
        EXPECT_EQ(row.role, role == watch::Role::Show ? 'S' : role == watch::Role::Update ? 'U' : 'L')
            << row.description;
    }
}

TEST(PointerStepTest, HidesAPointerStillForItsTimeAndShowsItMovedOrUnreadable)
{
    const struct { const char* description; bool hidden, moved, readable; ULONGLONG stillMs; char step; } rows[] = {
        {"still for its time", false, false, true, 5000, 'H'},
        {"still for less", false, false, true, 4999, 'K'},
        {"moved", false, true, true, 0, 'K'},
        {"unreadable for long (another desktop)", false, false, false, 60000, 'K'},
        {"hidden and still", true, false, true, 60000, 'K'},
        {"hidden and moved", true, true, true, 0, 'S'},
        {"hidden and unreadable", true, false, false, 60000, 'S'},
    };
    for (const auto& row : rows)
    {
        const watch::PointerStep step = watch::NextPointerStep(row.hidden, row.moved, row.readable, row.stillMs, 5000);
        EXPECT_EQ(row.step, step == watch::PointerStep::Hide ? 'H' : step == watch::PointerStep::Show ? 'S' : 'K')
            << row.description << " (H hidden, S shown, K kept)";
    }
}
} // namespace
