#include "app/RestartGuard.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct GuardCase
{
    const char* description;
    std::vector<unsigned long long> runs;  // how long each start ran, in milliseconds
    size_t startsAgain;                    // how many of the ends are followed by a start
};

class RestartGuardTest : public ::testing::TestWithParam<GuardCase>
{
};

TEST_P(RestartGuardTest, StopsAfterThreeQuickEndsInARow)
{
    const GuardCase& row = GetParam();
    CRestartGuard guard;
    size_t startsAgain = 0;
    while (startsAgain < row.runs.size() && guard.MayStartAgain(row.runs[startsAgain]))
        ++startsAgain;
    EXPECT_EQ(row.startsAgain, startsAgain) << row.description;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RestartGuardTest,
    ::testing::Values(GuardCase{"three quick ends", {1000, 0, 59000, 1000}, 2},
                      GuardCase{"a minute exactly is quick", {60000, 60000, 60000}, 2},
                      GuardCase{"a long run starts the count afresh", {1000, 1000, 60001, 1000, 1000, 1000}, 5},
                      GuardCase{"long runs only", {60001, 3600000, 86400000}, 3}));
} // namespace
