#include "keep/ProgramWatch.h"

#include "framework/Handle.h"
#include "keep/AliveFile.h"
#include "keep/WatchRules.h"

#include <algorithm>
#include <vector>

namespace
{
constexpr UINT kEndedByWatchCode = 1;  // as Task Manager's End task
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

ULONGLONG AsCount(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// From `handedOverSince` on (0: all): the processes of the program started
// since then; one whose start cannot be read counts, so that no second copy
// of a show is started beside it.
std::vector<DWORD> ShowIds(const std::vector<DWORD>& ids, ULONGLONG handedOverSince)
{
    std::vector<DWORD> show;
    for (DWORD id : ids)
    {
        FILETIME created = {}, exited, kernel, user;
        const CKernelHandle opened(handedOverSince == 0 ? nullptr
                                                        : ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
        if (!opened || !::GetProcessTimes(opened.get(), &created, &exited, &kernel, &user)
            || AsCount(created) >= handedOverSince)
            show.push_back(id);
    }
    return show;
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

// ERROR_SUCCESS, or why Windows did not end the program.
DWORD Terminate(HANDLE process, HANDLE job)
{
    if ((job != nullptr && ::TerminateJobObject(job, kEndedByWatchCode))
        || ::TerminateProcess(process, kEndedByWatchCode))
        return ERROR_SUCCESS;
    return ::GetLastError();
}
} // namespace

bool EndProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job, const NotEndedAction& notEnded)
{
    const DWORD error = Terminate(process, job);
    // Ending a process that has just ended may fail too.
    Gone gone = WaitUntilGone(session, process, job, error == ERROR_SUCCESS ? kEndedWithinMs : 0);
    if (gone == Gone::NotInTime && notEnded)
        notEnded(error);
    // Still the show, with no second copy beside it, until it goes.
    while (gone == Gone::NotInTime)
        if ((gone = WaitUntilGone(session, process, job, watch::kCheckMs)) == Gone::NotInTime)
            Terminate(process, job);
    return gone == Gone::Yes;
}

bool CloseProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job, const NotEndedAction& notEnded)
{
    const std::vector<DWORD> ids = ProcessIds(process, job);
    ::EnumWindows(AskToClose, reinterpret_cast<LPARAM>(&ids));
    const Gone gone = WaitUntilGone(session, process, job, kCloseWithinMs);
    return gone == Gone::Yes || (gone == Gone::NotInTime && EndProgram(session, process, job, notEnded));
}

ULONGLONG AwakeMs()
{
    ULONGLONG time = 0;
    return ::QueryUnbiasedInterruptTime(&time) ? time / 10000 : ::GetTickCount64();
}

WatchResult WatchProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job, const WatchSettings& settings,
                         watch::CDailyRestart& restart)
{
    // The display stays on while the program runs, and no longer.
    struct DisplayRequest
    {
        decltype(settings.executionState) request;
        explicit DisplayRequest(decltype(request) request) : request(request)
        {
            if (request != nullptr)
                request(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED);
        }
        ~DisplayRequest()
        {
            if (request != nullptr)
                request(ES_CONTINUOUS);
        }
    } display(settings.executionState);
    CAliveFile alive(settings.aliveFile, settings.aliveSeconds, settings.onAliveFileNeverWritten);
    alive.Begin(settings.awakeMs());
    watch::CHangTracker hangs;
    std::vector<HWND> seen;
    WatchResult result;
    bool responding = true;
    ULONGLONG startedRanMs = 0;
    ULONGLONG handedOverSince = 0;
    ULONGLONG nextCheck = ::GetTickCount64() + watch::kCheckMs;
    ULONGLONG windowlessSince = 0;
    SYSTEMTIME local;
    ::GetLocalTime(&local);
    restart.Begin(local);
    const auto ended = [&session, &result](WatchEnd end) {
        result.end = end == WatchEnd::Ended && session.EndIsTheLogoffs() ? WatchEnd::SessionEnded : end;
        return result;
    };
    // Nothing of a show that has ended outlives it.
    const auto showEnded = [&]() {
        return ended(ProcessIds(process, job).empty() || EndProgram(session, process, job, settings.onNotEnded)
                         ? WatchEnd::Ended
                         : WatchEnd::SessionEnded);
    };
    for (;;)
    {
        const bool startedRuns = IsRunning(process);
        if (!startedRuns && startedRanMs == 0)
        {
            FILETIME created, exited, kernel, user;
            if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
                ::GetSystemTimeAsFileTime(&exited), created = exited;
            startedRanMs = std::max<ULONGLONG>((AsCount(exited) - AsCount(created)) / 10000, 1);
            handedOverSince = watch::HandedOverSince(startedRanMs, AsCount(exited));
        }
        // The started process while it runs, then what it handed the show over to.
        std::vector<CKernelHandle> left;
        std::vector<HANDLE> waited{process};
        bool lookAgainSoon = false;
        if (!startedRuns)
        {
            const std::vector<DWORD> show = ShowIds(ProcessIds(process, job), handedOverSince);
            if (show.empty())
                return showEnded();
            left = OpenToWait(show);
            // One that cannot be waited on is looked for again soon.
            lookAgainSoon = left.size() < std::min<size_t>(show.size(), MAXIMUM_WAIT_OBJECTS - 1);
            waited = Raw(left);
        }
        const bool checks =
            settings.notRespondingSeconds != 0 || settings.checkWindows || !startedRuns || alive.IsSet();
        const ULONGLONG now = ::GetTickCount64();
        DWORD timeout = !checks ? INFINITE : now >= nextCheck ? 0 : static_cast<DWORD>(nextCheck - now);
        if (restart.IsSet())
        {
            ::GetLocalTime(&local);
            timeout = std::min(timeout, watch::CDailyRestart::UntilNextMinute(local) + kPastTheMinuteMs);
        }
        if (lookAgainSoon)
            timeout = std::min(timeout, static_cast<DWORD>(kLookAgainMs));
        const DWORD woken = session.Wait(static_cast<DWORD>(waited.size()), waited.data(), timeout);
        if (woken == CSessionEndWindow::kSessionOver)
            return ended(WatchEnd::SessionEnded);
        if (woken != WAIT_TIMEOUT)
            continue;
        ::GetLocalTime(&local);
        if (restart.DueAt(local))
            return ended(CloseProgram(session, process, job, settings.onNotEnded) ? WatchEnd::PlannedRestart
                                                                                  : WatchEnd::SessionEnded);

        if (::GetTickCount64() < nextCheck || !checks)
            continue;
        nextCheck = ::GetTickCount64() + watch::kCheckMs;
        const ULONGLONG awake = settings.awakeMs();
        // Read after the wait: an id read before it may name another process now.
        const std::vector<DWORD> ids = ProcessIds(process, job);
        const std::vector<watch::WindowState> windows =
            WindowsToCheck(startedRuns ? ids : ShowIds(ids, handedOverSince), seen);
        bool allRespond = true;
        for (const watch::WindowState& window : windows)
        {
            result.responded = result.responded || window.responding;
            allRespond = allRespond && window.responding;
        }
        if (allRespond != responding && settings.onResponding)
            settings.onResponding(allRespond);
        responding = allRespond;
        if (hangs.NotRespondingTooLong(windows, awake, settings.notRespondingSeconds))
            return ended(EndProgram(session, process, job, settings.onNotEnded) ? WatchEnd::NotResponding
                                                                                : WatchEnd::SessionEnded);
        if (alive.Frozen(awake))
        {
            result.aliveWritten = alive.Written();
            result.aliveUnchangedSeconds = alive.UnchangedSeconds();
            return ended(EndProgram(session, process, job, settings.onNotEnded) ? WatchEnd::Frozen
                                                                                : WatchEnd::SessionEnded);
        }
        if (startedRuns)
            continue;
        windowlessSince = !windows.empty() ? 0 : windowlessSince != 0 ? windowlessSince : awake;
        if (watch::LeftIsNoShow(windowlessSince, awake))
            return showEnded();
    }
}
