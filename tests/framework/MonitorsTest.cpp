#include "framework/Monitors.h"

#include <gtest/gtest.h>

namespace
{
// A 1920 x 1080 primary with its taskbar below, and a 1280 x 1024 display to its right.
const MonitorArea kPrimary{1, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true};
const MonitorArea kRight{2, {1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}, false};
const std::vector<MonitorArea> kMonitors{kPrimary, kRight};

struct PlaceCase
{
    const char* description;
    RECT window;
    bool maximized;
    const MonitorArea& to;
    RECT expected;
};

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + ","
           + std::to_string(r.bottom);
}

TEST(MonitorsTest, PlaceOnMonitorKeepsSizeAndPlaceWithinTheMonitor)
{
    const PlaceCase rows[] = {
        {"a window on the primary", {100, 50, 900, 650}, false, kRight, {2020, 50, 2820, 650}},
        {"already there", {2020, 50, 2820, 650}, false, kRight, {2020, 50, 2820, 650}},
        {"sticking out after the move", {1500, 900, 1900, 1100}, false, kRight, {2800, 824, 3200, 1024}},
        {"covering its monitor", {0, 0, 1920, 1080}, false, kRight, {1920, 0, 3200, 1024}},
        {"maximized", {-8, -8, 1928, 1048}, true, kRight, {1920, 0, 3200, 1024}},
        {"mostly on the right, back to the primary", {3000, 100, 3300, 300}, false, kPrimary,
         {1080, 100, 1380, 300}},
        {"wider than the monitor", {0, 0, 1600, 400}, false, kRight, {1920, 0, 3520, 400}},
    };
    for (const PlaceCase& row : rows)
        EXPECT_EQ(Text(row.expected), Text(PlaceOnMonitor(row.window, row.maximized, kMonitors, row.to)))
            << row.description;
}

TEST(MonitorsTest, AMonitorNotThereIsNone)
{
    EXPECT_EQ(&kMonitors[1], MonitorNumbered(kMonitors, 2));
    EXPECT_EQ(nullptr, MonitorNumbered(kMonitors, 3));
    EXPECT_EQ(1, PrimaryMonitor(kMonitors).number);
}
} // namespace
