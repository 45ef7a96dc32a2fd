#pragma once

// Clock and window lookup shared by the benchmark programs.
#include <windows.h>

namespace bench
{
// Milliseconds on the high-resolution clock.
inline double Now()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Kernel and user time of a process in milliseconds, or -1.
inline double CpuMs(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return -1;
    auto ms = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

struct WindowSearch
{
    DWORD processId;
    HWND found;
};

inline BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM context)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window))
    {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of the process, or null.
inline HWND VisibleWindowOf(DWORD processId)
{
    WindowSearch search{processId, nullptr};
    ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
} // namespace bench
