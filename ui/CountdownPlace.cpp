#include "ui/CountdownPlace.h"

#include "framework/Handle.h"
#include "ui/resource.h"

#include <commctrl.h>

#include <vector>

namespace
{
struct Countdown
{
    RECT window;
    RECT abort;
};

struct Search
{
    HWND self;
    const wchar_t* programName;
    std::vector<Countdown> found;
};

const wchar_t* FileName(const wchar_t* path)
{
    const wchar_t* name = path;
    for (const wchar_t* c = path; *c != L'\0'; ++c)
        if (*c == L'\\' || *c == L'/')
            name = c + 1;
    return name;
}

bool IsSameProgram(HWND window, const wchar_t* programName)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    const CKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    wchar_t path[MAX_PATH * 4] = L"";
    DWORD size = MAX_PATH * 4;
    return process && ::QueryFullProcessImageNameW(process.get(), 0, path, &size)
           && ::lstrcmpiW(FileName(path), programName) == 0;
}

// The countdown's template: its progress bar, its seconds and its Abort.
bool IsCountdown(HWND window)
{
    char className[32] = "";
    HWND progress = ::GetDlgItem(window, IDC_WAIT_PROGRESS);
    return progress != nullptr && ::GetClassNameA(progress, className, sizeof(className)) != 0
           && ::lstrcmpiA(className, PROGRESS_CLASSA) == 0 && ::GetDlgItem(window, IDC_WAIT_SECONDS) != nullptr
           && ::GetDlgItem(window, IDCANCEL) != nullptr;
}

BOOL CALLBACK Collect(HWND window, LPARAM parameter)
{
    Search& search = *reinterpret_cast<Search*>(parameter);
    Countdown countdown;
    if (window != search.self && ::IsWindowVisible(window) && IsCountdown(window)
        && IsSameProgram(window, search.programName) && ::GetWindowRect(window, &countdown.window)
        && ::GetWindowRect(::GetDlgItem(window, IDCANCEL), &countdown.abort))
        search.found.push_back(countdown);
    return TRUE;
}

bool Covers(const RECT& place, const std::vector<Countdown>& others, bool windowsToo)
{
    RECT common;
    for (const Countdown& other : others)
        if (::IntersectRect(&common, &place, windowsToo ? &other.window : &other.abort))
            return true;
    return false;
}

bool Inside(const RECT& place, const RECT& area)
{
    return place.left >= area.left && place.top >= area.top && place.right <= area.right
           && place.bottom <= area.bottom;
}

// 0, 1, -1, 2, -2, ...
int Alternating(int index)
{
    return index % 2 == 1 ? (index + 1) / 2 : -(index / 2);
}

// The first place in the order below, then above, then in the columns beside
// (right, then left), with `stepX` and `stepY` between places, that lies
// inside the area and covers nothing it must not; false where there is none.
bool FindPlace(RECT& place, const RECT& area, int stepX, int stepY, const std::vector<Countdown>& others,
               bool windowsToo)
{
    const int columns = 2 * ((area.right - area.left) / stepX + 1) + 1;
    const int rows = 2 * ((area.bottom - area.top) / stepY + 1) + 1;
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row)
        {
            RECT candidate = place;
            ::OffsetRect(&candidate, Alternating(column) * stepX, Alternating(row) * stepY);
            if (Inside(candidate, area) && !Covers(candidate, others, windowsToo))
            {
                place = candidate;
                return true;
            }
        }
    return false;
}

class CPlacementLock
{
public:
    CPlacementLock() : m_mutex(::CreateMutexA(nullptr, FALSE, "Local\\vaxoKestrupCountdownPlaces"))
    {
        // A countdown never waits long for a place: after two seconds it takes
        // one as it finds them.
        m_held = m_mutex && ::WaitForSingleObject(m_mutex.get(), 2000) != WAIT_TIMEOUT;
    }
    ~CPlacementLock()
    {
        if (m_held)
            ::ReleaseMutex(m_mutex.get());
    }

private:
    CKernelHandle m_mutex;
    bool m_held = false;
};
} // namespace

void ShowCountdownInFreePlace(HWND countdown)
{
    const CPlacementLock lock;
    wchar_t ownPath[MAX_PATH * 4] = L"";
    ::GetModuleFileNameW(nullptr, ownPath, MAX_PATH * 4);
    Search search{countdown, FileName(ownPath), {}};
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));

    UINT flags = SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
    RECT place;
    ::GetWindowRect(countdown, &place);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoA(::MonitorFromWindow(countdown, MONITOR_DEFAULTTONEAREST), &monitor);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    const int gap = height / 20;
    if (search.found.empty()
        || !(FindPlace(place, monitor.rcWork, width + gap, height + gap, search.found, true)
             || FindPlace(place, monitor.rcWork, width / 4 + 1, height / 4 + 1, search.found, false)))
        flags |= SWP_NOMOVE;
    ::SetWindowPos(countdown, HWND_TOPMOST, place.left, place.top, 0, 0, flags);
}
