#pragma once

// A program that keeps ending soon after its start (it cannot find its show,
// say) is not started again forever: after a few such ends in a row, the
// keeping stops.
class CRestartGuard
{
public:
    static constexpr unsigned long long kSoonMs = 60000;
    static constexpr int kEndsInARow = 3;

    // Counts one end of the program after it ran for the time given; false
    // once it has ended soon after its start kEndsInARow times in a row.
    bool MayStartAgain(unsigned long long ranMs)
    {
        quickEnds = ranMs <= kSoonMs ? quickEnds + 1 : 0;
        return quickEnds < kEndsInARow;
    }

private:
    int quickEnds = 0;
};
