#include "keep/ProgramWatch.h"

#include "framework/Handle.h"
#include "keep/WatchRules.h"

#include <algorithm>
#include <vector>

namespace
{
constexpr UINT kEndedByWatchCode = 1;  // as Task Manager's End task
constexpr DWORD kGoneWithinMs = 10000;
// As long as a person's close may take to save and end.
constexpr DWORD kCloseWithinMs = 15000;
constexpr ULONGLONG kLookAgainMs = 250;
// The wake for the restart's minute comes a little into it.
constexpr DWORD kPastTheMinuteMs = 200;

bool IsRunning(HANDLE process)
{
    return ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

bool Holds(const std::vector<DWORD>& ids, DWORD id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
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
    if (IsRunning(process) && !Holds(ids, started))
        ids.push_back(started);
    return ids;
}

// As many as one wait can take beside the thread's messages.
std::vector<CKernelHandle> OpenToWait(const std::vector<DWORD>& ids)
{
    std::vector<CKernelHandle> opened;
    for (DWORD id : ids)
        if (opened.size() < MAXIMUM_WAIT_OBJECTS - 1)
            if (HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, id))
                opened.emplace_back(process);
    return opened;
}

std::vector<HANDLE> Raw(const std::vector<CKernelHandle>& handles)
{
    std::vector<HANDLE> raw;
    for (const CKernelHandle& handle : handles)
        raw.push_back(handle.get());
    return raw;
}

struct WindowSearch
{
    const std::vector<DWORD>& ids;
    const std::vector<HWND>& seenBefore;
    std::vector<watch::WindowState> found;
    std::vector<HWND> seen;
};

// A visible window of the program is checked; so is one seen visible before
// and hidden since, which counts while it does not respond: Windows hides a
// window that stopped responding behind a ghost of its own as soon as someone
// touches the screen or a key.
BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    const bool visible = ::IsWindowVisible(window) != FALSE;
    if (!Holds(search->ids, id)
        || (!visible && std::find(search->seenBefore.begin(), search->seenBefore.end(), window)
                            == search->seenBefore.end()))
        return TRUE;
    search->seen.push_back(window);
    const bool responding = !::IsHungAppWindow(window);
    if (visible || !responding)
        search->found.push_back({window, responding});
    return TRUE;
}

// The program's windows to check, and (in `seen`) every one of them seen
// visible so far that is still there.
std::vector<watch::WindowState> WindowsToCheck(const std::vector<DWORD>& ids, std::vector<HWND>& seen)
{
    WindowSearch search{ids, seen, {}, {}};
    if (!ids.empty())
        ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    seen = std::move(search.seen);
    return search.found;
}
BOOL CALLBACK AskToClose(HWND window, LPARAM ids)
{
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    if (::IsWindowVisible(window) && Holds(*reinterpret_cast<const std::vector<DWORD>*>(ids), id))
        ::PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

enum class Gone
{
    Yes,
    NotInTime,
    SessionOver,
};

// Waits until no process of the program is left, while the thread's windows
// get their messages. One that cannot be waited on is looked for again soon.
Gone WaitUntilGone(const CSessionEndWindow& session, HANDLE process, HANDLE job, DWORD milliseconds)
{
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (;;)
    {
        const std::vector<DWORD> ids = ProcessIds(process, job);
        const std::vector<CKernelHandle> left = OpenToWait(ids);
        const ULONGLONG now = ::GetTickCount64();
        if (ids.empty())
            return Gone::Yes;
        if (now >= deadline)
            return Gone::NotInTime;
        const std::vector<HANDLE> waited = Raw(left);
        const DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, left.empty() ? kLookAgainMs : MAXDWORD));
        if (session.Wait(static_cast<DWORD>(waited.size()), waited.data(), wait) == CSessionEndWindow::kSessionOver)
            return Gone::SessionOver;
    }
}
} // namespace

bool EndProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job)
{
    if (job == nullptr || !::TerminateJobObject(job, kEndedByWatchCode))
        ::TerminateProcess(process, kEndedByWatchCode);
    return WaitUntilGone(session, process, job, kGoneWithinMs) != Gone::SessionOver;
}

bool CloseProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job)
{
    const std::vector<DWORD> ids = ProcessIds(process, job);
    ::EnumWindows(AskToClose, reinterpret_cast<LPARAM>(&ids));
    const Gone gone = WaitUntilGone(session, process, job, kCloseWithinMs);
    return gone == Gone::Yes || (gone == Gone::NotInTime && EndProgram(session, process, job));
}

WatchResult WatchProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job, unsigned notRespondingSeconds,
                         watch::CDailyRestart& restart)
{
    watch::CHangTracker hangs;
    std::vector<HWND> seen;
    WatchResult result;
    const ULONGLONG since = ::GetTickCount64();
    ULONGLONG startedRanMs = 0;
    ULONGLONG nextCheck = since + watch::kCheckMs;
    ULONGLONG windowlessSince = 0;
    SYSTEMTIME local;
    ::GetLocalTime(&local);
    restart.Begin(local);
    const auto ended = [&session, &result](WatchEnd end) {
        result.end = end == WatchEnd::Ended && session.EndIsTheLogoffs() ? WatchEnd::SessionEnded : end;
        return result;
    };
    for (;;)
    {
        const bool startedRuns = IsRunning(process);
        if (!startedRuns && startedRanMs == 0)
            startedRanMs = std::max<ULONGLONG>(::GetTickCount64() - since, 1);
        // What is left after a long run (a viewer the show opened, its crash
        // reporter) is no show: only a launcher hands over soon after its start.
        if (!startedRuns && !watch::LeftMayBeTheShow(startedRanMs))
            return ended(WatchEnd::Ended);
        // The started process while it runs, then whatever is left of the program.
        std::vector<CKernelHandle> left;
        std::vector<HANDLE> waited{process};
        if (!startedRuns)
        {
            left = OpenToWait(ProcessIds(process, job));
            if (left.empty())
                return ended(WatchEnd::Ended);
            waited = Raw(left);
        }
        const bool checks = notRespondingSeconds != 0 || !startedRuns;
        const ULONGLONG now = ::GetTickCount64();
        DWORD timeout = !checks ? INFINITE : now >= nextCheck ? 0 : static_cast<DWORD>(nextCheck - now);
        if (restart.IsSet())
        {
            ::GetLocalTime(&local);
            timeout = std::min(timeout, watch::CDailyRestart::UntilNextMinute(local) + kPastTheMinuteMs);
        }
        const DWORD woken = session.Wait(static_cast<DWORD>(waited.size()), waited.data(), timeout);
        if (woken == CSessionEndWindow::kSessionOver)
            return ended(WatchEnd::SessionEnded);
        if (woken != WAIT_TIMEOUT)
            continue;
        ::GetLocalTime(&local);
        if (restart.DueAt(local))
            return ended(CloseProgram(session, process, job) ? WatchEnd::PlannedRestart : WatchEnd::SessionEnded);

        const ULONGLONG checked = ::GetTickCount64();
        if (checked < nextCheck || !checks)
            continue;
        nextCheck = checked + watch::kCheckMs;
        // Read after the wait: an id read before it may name another process now.
        const std::vector<watch::WindowState> windows = WindowsToCheck(ProcessIds(process, job), seen);
        for (const watch::WindowState& window : windows)
            result.responded = result.responded || window.responding;
        if (hangs.NotRespondingTooLong(windows, checked, notRespondingSeconds))
            return ended(EndProgram(session, process, job) ? WatchEnd::NotResponding : WatchEnd::SessionEnded);
        if (startedRuns)
            continue;
        windowlessSince = !windows.empty() ? 0 : windowlessSince != 0 ? windowlessSince : checked;
        if (watch::LeftIsNoShow(windowlessSince, checked))
            return ended(WatchEnd::Ended);
    }
}
