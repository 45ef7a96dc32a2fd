#include "launch/WatchRules.h"

#include <gtest/gtest.h>

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
