#include "framework/Monitors.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{
BOOL CALLBACK Collect(HMONITOR monitor, HDC, RECT*, LPARAM list)
{
    MONITORINFOEXA info = {};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoA(monitor, &info))
        return TRUE;
    MonitorArea area;
    const char prefix[] = "\\\\.\\DISPLAY";
    if (std::strncmp(info.szDevice, prefix, sizeof(prefix) - 1) == 0)
        area.number = std::atoi(info.szDevice + sizeof(prefix) - 1);
    area.rect = info.rcMonitor;
    area.work = info.rcWork;
    area.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    reinterpret_cast<std::vector<MonitorArea>*>(list)->push_back(area);
    return TRUE;
}

long Shared(const RECT& a, const RECT& b)
{
    RECT common;
    return ::IntersectRect(&common, &a, &b) ? (common.right - common.left) * (common.bottom - common.top) : 0;
}

bool Covers(const RECT& window, const RECT& monitor)
{
    return window.left <= monitor.left && window.top <= monitor.top && window.right >= monitor.right
           && window.bottom >= monitor.bottom;
}

// The window's edge moved inside the monitor's where it sticks out; one
// wider than the monitor keeps its start edge on it.
LONG Inside(LONG start, LONG size, LONG low, LONG high)
{
    return std::max(low, std::min(start, high - size));
}
} // namespace

std::vector<MonitorArea> ListMonitors()
{
    std::vector<MonitorArea> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

const MonitorArea* MonitorNumbered(const std::vector<MonitorArea>& monitors, int number)
{
    for (const MonitorArea& monitor : monitors)
        if (monitor.number == number)
            return &monitor;
    return nullptr;
}

MonitorArea PrimaryMonitor(const std::vector<MonitorArea>& monitors)
{
    for (const MonitorArea& monitor : monitors)
        if (monitor.primary)
            return monitor;
    if (!monitors.empty())
        return monitors.front();
    MonitorArea primary;
    primary.primary = true;
    primary.rect = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &primary.work, 0);
    return primary;
}

RECT PlaceOnMonitor(const RECT& window, bool maximized, const std::vector<MonitorArea>& monitors,
                    const MonitorArea& to)
{
    RECT from = PrimaryMonitor(monitors).rect;
    long most = 0;
    for (const MonitorArea& monitor : monitors)
        if (const long shared = Shared(window, monitor.rect); shared > most)
        {
            most = shared;
            from = monitor.rect;
        }
    if (::EqualRect(&from, &to.rect))
        return window;
    if (maximized)
        return to.work;
    if (Covers(window, from))
        return to.rect;
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    const LONG left = Inside(window.left - from.left + to.rect.left, width, to.rect.left, to.rect.right);
    const LONG top = Inside(window.top - from.top + to.rect.top, height, to.rect.top, to.rect.bottom);
    return {left, top, left + width, top + height};
}

void MoveToMonitor(HWND window, const std::vector<MonitorArea>& monitors, const MonitorArea& to)
{
    RECT now;
    if (!::GetWindowRect(window, &now))
        return;
    const RECT place = PlaceOnMonitor(now, ::IsZoomed(window) != FALSE, monitors, to);
    if (!::EqualRect(&place, &now))
        ::SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}
