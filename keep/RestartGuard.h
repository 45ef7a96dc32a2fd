#pragma once

#include "framework/StringFormat.h"
#include "keep/ProgramWatch.h"

#include <algorithm>
#include <string>

// A program that keeps ending soon after its start (its licence server or
// its network is down, say), or that cannot be started at all (an update
// replacing its file), is never given up on: each such end in a row doubles
// the countdown before the next start, up to five minutes, as service
// managers slow their restarts down. A longer run starts afresh.
class CRestartGuard
{
public:
    static constexpr unsigned long long kSoonMs = 60000;
    static constexpr int kLongestDelay = 300;
    // The quick end in a row that is reported, once a series.
    static constexpr int kReportedEnd = 3;

    // Counts one end of the program after it ran for the time given. Quick:
    // within a minute of the start, or ended for a window that never
    // responded, or for an alive file never written (a show that freezes at
    // every start); a planned restart never.
    void CountEnd(unsigned long long ranMs, const WatchResult& watched)
    {
        const bool soon = ranMs <= kSoonMs;
        const bool quick = watched.end != WatchEnd::PlannedRestart
                           && (soon || (watched.end == WatchEnd::NotResponding && !watched.responded)
                               || (watched.end == WatchEnd::Frozen && !watched.aliveWritten));
        Count(quick, soon);
        failure.clear();
    }

    // Counts a start that failed, in the few words given (the reason), as a
    // quick end.
    void CountFailedStart(std::string reason)
    {
        Count(true, false);
        failure = std::move(reason);
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

    // The countdown's label before the next start, saying what it counts:
    // why the last start failed, how many ends in a row came within a
    // minute, or how many failed otherwise; none (the usual label) after one
    // quick end or none.
    std::string Label() const
    {
        if (!failure.empty())
            return "Could not start: " + failure + ". Again in:";
        if (quickEnds < 2)
            return std::string();
        return FormatString(soonEnds == quickEnds ? "Ended %d times within a minute; again in:"
                                                  : "Failed %d times in a row; again in:",
                            quickEnds);
    }

private:
    void Count(bool quick, bool soon)
    {
        quickEnds = quick ? quickEnds + 1 : 0;
        soonEnds = quick && soon ? soonEnds + 1 : 0;
    }

    int quickEnds = 0;
    // Of those, the ends in a row within a minute of the start.
    int soonEnds = 0;
    std::string failure;
};
