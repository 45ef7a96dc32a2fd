#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace hours
{
// A zone's local clock over the years around one, worked out from the zone's
// own rule (StandardDate, DaylightDate) rather than asked of the system, whose
// conversions at the changes differ between Windows versions and Wine. Times
// are FILETIME ticks: UTC, or the local wall clock counted the same way.
class CZoneClock
{
public:
    CZoneClock(const TIME_ZONE_INFORMATION& zone, WORD year);

    LONGLONG LocalAt(LONGLONG utc) const;
    // The first instant whose local time is at or after `local`: the end of the
    // skipped hour for a time within it, the first pass for a repeated one.
    LONGLONG FirstAtOrAfter(LONGLONG local) const;

private:
    // From `from` on (UTC), UTC is the local time plus `bias`.
    struct Span
    {
        LONGLONG from;
        LONGLONG bias;
    };
    std::vector<Span> spans;
};

constexpr LONGLONG kTicksPerMinute = 600000000;
constexpr LONGLONG kTicksPerDay = 1440 * kTicksPerMinute;

// Adds an item to items kept in the order of `key` (std::sort would cost the
// program kilobytes for a handful of items).
template <typename Item, typename Key>
void InsertInOrder(std::vector<Item>& items, const Item& item, Key key)
{
    items.push_back(item);
    for (size_t i = items.size() - 1; i > 0 && key(items[i]) < key(items[i - 1]); --i)
        std::swap(items[i], items[i - 1]);
}

LONGLONG TicksOf(const SYSTEMTIME& time);
SYSTEMTIME TimeOf(LONGLONG ticks);
} // namespace hours
