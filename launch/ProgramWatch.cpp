#include "launch/ProgramWatch.h"

#include "framework/Handle.h"
#include "launch/WatchRules.h"

#include <algorithm>
#include <vector>

namespace
{
constexpr UINT kEndedByWatchCode = 1;  // as Task Manager's End task
constexpr DWORD kGoneWithinMs = 10000;

bool IsRunning(HANDLE process)
{
    return ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

// The processes in the job now; also the started one while it runs.
std::vector<DWORD> ProcessIds(HANDLE process, HANDLE job)
{
    std::vector<DWORD> ids;
    if (job != nullptr)
    {
        std::vector<ULONG_PTR> buffer(2 + 256);
        auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.data());
        if (::QueryInformationJobObject(job, JobObjectBasicProcessIdList, list,
                                        static_cast<DWORD>(buffer.size() * sizeof(ULONG_PTR)), nullptr)
            || ::GetLastError() == ERROR_MORE_DATA)
            for (DWORD i = 0; i < list->NumberOfProcessIdsInList; ++i)
                ids.push_back(static_cast<DWORD>(list->ProcessIdList[i]));
    }
    const DWORD started = ::GetProcessId(process);
    if (IsRunning(process) && std::find(ids.begin(), ids.end(), started) == ids.end())
        ids.push_back(started);
    return ids;
}

struct WindowSearch
{
    const std::vector<DWORD>& ids;
    std::vector<watch::WindowState> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    if (::IsWindowVisible(window) && std::find(search->ids.begin(), search->ids.end(), id) != search->ids.end())
        search->found.push_back({window, !::IsHungAppWindow(window)});
    return TRUE;
}

std::vector<watch::WindowState> VisibleWindows(const std::vector<DWORD>& ids)
{
    WindowSearch search{ids, {}};
    if (!ids.empty())
        ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A window that does not respond takes no request to close: the processes
// are ended.
void EndEveryProcess(HANDLE process, HANDLE job)
{
    if (job == nullptr || !::TerminateJobObject(job, kEndedByWatchCode))
        ::TerminateProcess(process, kEndedByWatchCode);
    const ULONGLONG deadline = ::GetTickCount64() + kGoneWithinMs;
    while (!ProcessIds(process, job).empty() && ::GetTickCount64() < deadline)
        ::Sleep(100);
}
} // namespace

WatchEnd WatchProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job, unsigned notRespondingSeconds)
{
    watch::CHangTracker hangs;
    ULONGLONG nextCheck = ::GetTickCount64() + watch::kCheckMs;
    ULONGLONG windowlessSince = 0;
    for (;;)
    {
        const bool startedRuns = IsRunning(process);
        const std::vector<DWORD> ids = ProcessIds(process, job);
        if (ids.empty())
            return session.EndIsTheLogoffs() ? WatchEnd::SessionEnded : WatchEnd::Ended;
        // The started process while it runs, then whatever is left of the program.
        std::vector<CKernelHandle> left;
        std::vector<HANDLE> waited;
        if (startedRuns)
            waited.push_back(process);
        else
            for (DWORD id : ids)
                if (waited.size() < MAXIMUM_WAIT_OBJECTS - 1)
                    if (HANDLE opened = ::OpenProcess(SYNCHRONIZE, FALSE, id))
                    {
                        left.emplace_back(opened);
                        waited.push_back(opened);
                    }
        const bool checks = notRespondingSeconds != 0 || !startedRuns;
        const ULONGLONG now = ::GetTickCount64();
        const DWORD timeout = !checks ? INFINITE : now >= nextCheck ? 0 : static_cast<DWORD>(nextCheck - now);
        const DWORD woken = session.Wait(static_cast<DWORD>(waited.size()), waited.data(), timeout);
        if (woken == CSessionEndWindow::kSessionOver)
            return WatchEnd::SessionEnded;
        if (woken != WAIT_TIMEOUT)
            continue;

        const ULONGLONG checked = ::GetTickCount64();
        nextCheck = checked + watch::kCheckMs;
        const std::vector<watch::WindowState> windows = VisibleWindows(ids);
        if (hangs.NotRespondingTooLong(windows, checked, notRespondingSeconds))
        {
            EndEveryProcess(process, job);
            return WatchEnd::NotResponding;
        }
        if (startedRuns)
            continue;
        windowlessSince = !windows.empty() ? 0 : windowlessSince != 0 ? windowlessSince : checked;
        if (watch::LeftIsNoShow(windowlessSince, checked))
            return session.EndIsTheLogoffs() ? WatchEnd::SessionEnded : WatchEnd::Ended;
    }
}
