#include "app/RestartGuard.h"

#include <gtest/gtest.h>

#include <vector>

TEST(RestartGuardTest, StopsAfterThreeQuickEndsInARow)
{
    const struct
    {
        const char* description;
        std::vector<unsigned long long> runsMs;  // how long each start ran
        size_t startsAgain;                      // how many of the ends a start follows
    } rows[] = {{"three quick ends", {1000, 0, 59000, 1000}, 2},
                {"a minute exactly is quick", {60000, 60000, 60000}, 2},
                {"a long run starts the count afresh", {1000, 1000, 60001, 1000, 1000, 1000}, 5},
                {"long runs only", {60001, 3600000, 86400000}, 3}};
    for (const auto& row : rows)
    {
        CRestartGuard guard;
        size_t startsAgain = 0;
        while (startsAgain < row.runsMs.size() && guard.MayStartAgain(row.runsMs[startsAgain]))
            ++startsAgain;
        EXPECT_EQ(row.startsAgain, startsAgain) << row.description;
    }
}
