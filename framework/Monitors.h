#pragma once

#include <windows.h>

#include <vector>

// One display as Windows lays it out now, in screen coordinates.
struct MonitorArea
{
    int number = 0;  // n of \\.\DISPLAYn; 0 where the name holds none
    RECT rect = {};
    RECT work = {};  // without the taskbar
    bool primary = false;
};

std::vector<MonitorArea> ListMonitors();

// The display \\.\DISPLAYn among them; null where it is not there.
const MonitorArea* MonitorNumbered(const std::vector<MonitorArea>& monitors, int number);

// The primary among them (the first where none says so; an empty list: the
// primary's size as the system tells it).
MonitorArea PrimaryMonitor(const std::vector<MonitorArea>& monitors);

// Where a top-level window goes so that it is on `to`, keeping its size and
// its place within the monitor it is on now (the one of `monitors` it shares
// the most with): one that covers that monitor covers `to`, a maximized one
// fills its work area; one that would stick out is pushed inside.
RECT PlaceOnMonitor(const RECT& window, bool maximized, const std::vector<MonitorArea>& monitors,
                    const MonitorArea& to);

// Moves the window there (see PlaceOnMonitor), without activating it.
void MoveToMonitor(HWND window, const std::vector<MonitorArea>& monitors, const MonitorArea& to);
