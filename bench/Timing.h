#pragma once

// Clock, CPU time, window lookup and the benchmark's slot, shared by the
// benchmark programs.
#include <windows.h>

#include <string>

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

// Slot 9, which the benchmarks count down: the program to start and the delay.
inline void StoreSlot(const std::string& program, DWORD delay)
{
    HKEY key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, "software\\vaxo\\vaxo Kestrup V3.6\\Slot9", 0, nullptr, 0,
                      KEY_WRITE, nullptr, &key, nullptr);
    ::RegSetValueExA(key, "AppPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
                     static_cast<DWORD>(program.size() + 1));
    ::RegSetValueExA(key, "Delay", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&delay), 4);
    ::RegCloseKey(key);
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
