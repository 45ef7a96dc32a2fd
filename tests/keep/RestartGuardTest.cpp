#include "keep/RestartGuard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Each end: q quick (1 s), l after a long run, n ended after a long run for a window that never responded,
// r the same where a window had responded, p a planned restart after 1 s, f a start that failed.
WatchResult Watched(char end)
{
    return {end == 'n' || end == 'r' ? WatchEnd::NotResponding : end == 'p' ? WatchEnd::PlannedRestart : WatchEnd::Ended,
            end == 'r'};
}

TEST(RestartGuardTest, SlowsDownOnQuickEndsReportsOnceAndStartsAfreshAfterALongRun)
{
    const struct
    {
        const char* description;
        int slotDelay;
        std::string ends;
        std::vector<int> delays;  // the countdown after each end
        std::string reported;     // R where the end is reported
        std::string label;        // the countdown's after the last end
    } rows[] = {{"doubling up to five minutes", 10, "qqqqqqqq", {10, 20, 40, 80, 160, 300, 300, 300}, "..R.....",
                 "Ended 8 times within a minute; again in:"},
                {"a long run starts afresh", 10, "qqqlqqq", {10, 20, 40, 10, 10, 20, 40}, "..R...R",
                 "Ended 3 times within a minute; again in:"},
                {"long runs only", 25, "lll", {25, 25, 25}, "...", ""},
                {"never below the slot's own", 400, "qq", {400, 400}, "..", "Ended 2 times within a minute; again in:"},
                {"a window that never responded ends quickly", 10, "nnr", {10, 20, 10}, "...", ""},
                {"which is no end within a minute", 10, "qn", {10, 20}, "..", "Failed 2 times in a row; again in:"},
                {"a planned restart is no quick end", 10, "qqpq", {10, 20, 10, 10}, "....", ""},
                {"failed starts are quick ends", 10, "qfqq", {10, 20, 40, 80}, "..R.", "Failed 4 times in a row; again in:"},
                {"a failed start says why", 10, "qf", {10, 20}, "..", "Could not start: file not found. Again in:"}};
    for (const auto& row : rows)
    {
        CRestartGuard guard;
        std::vector<int> delays;
        std::string reported;
        for (char end : row.ends)
        {
            if (end == 'f')
                guard.CountFailedStart("file not found");
            else
                guard.CountEnd(end == 'q' || end == 'p' ? 1000 : 61000, Watched(end));
            delays.push_back(guard.NextDelay(row.slotDelay));
            reported += guard.ReportNow() ? 'R' : '.';
        }
        EXPECT_EQ(row.delays, delays) << row.description;
        EXPECT_EQ(row.reported, reported) << row.description;
        EXPECT_EQ(row.label, guard.Label()) << row.description;
    }
}
