#pragma once

#include "keep/ProgramWatch.h"

#include <algorithm>

// A program that keeps ending soon after its start (its licence server or
// its network is down, say) is never given up on: each such end in a row
// doubles the countdown before the next start, up to five minutes, as
// service managers slow their restarts down. A longer run starts afresh.
class CRestartGuard
{
public:
    static constexpr unsigned long long kSoonMs = 60000;
    static constexpr int kLongestDelay = 300;
    // The quick end in a row that is reported, once a series.
    static constexpr int kReportedEnd = 3;

    // Counts one end of the program after it ran for the time given. Quick:
    // within a minute of the start, or ended for a window that never
    // responded (a show that freezes at every start); a planned restart never.
    void CountEnd(unsigned long long ranMs, const WatchResult& watched)
    {
        const bool quick = watched.end != WatchEnd::PlannedRestart
                           && (ranMs <= kSoonMs || (watched.end == WatchEnd::NotResponding && !watched.responded));
        quickEnds = quick ? quickEnds + 1 : 0;
    }

    int QuickEndsInARow() const { return quickEnds; }
    // This end makes the series long enough to be reported: once a series.
    bool ReportNow() const { return quickEnds == kReportedEnd; }

    // The countdown before the next start, from the slot's own: doubled for
    // each quick end in a row after the first, never longer than the longest
    // nor shorter than the slot's.
    int NextDelay(int slotDelay) const
    {
        long long delay = slotDelay;
        for (int k = 1; k < quickEnds && delay < kLongestDelay; ++k)
            delay *= 2;
        return std::max(slotDelay, static_cast<int>(std::min<long long>(delay, kLongestDelay)));
    }

private:
    int quickEnds = 0;
};
