#include "keep/ProgramWatch.h"

#include "framework/Handle.h"
#include "keep/AliveFile.h"
#include "keep/HandOver.h"
#include "keep/ScreenSaverHold.h"
#include "keep/WatchRules.h"
#include "keep/WindowShowHook.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace
{
constexpr UINT kEndedByWatchCode = 1;  // as Task Manager's End task
// As long as a person's close may take to save and end.
constexpr DWORD kCloseWithinMs = 15000;
constexpr ULONGLONG kLookAgainMs = 250;
// The wake for the restart's minute comes a little into it.
constexpr DWORD kPastTheMinuteMs = 200;
// Until the show's first window is told of, it is also looked for this often:
// Wine, for one, does not tell another process's windows to the hook.
constexpr DWORD kFirstWindowLookMs = 1000;

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
    if (IsRunning(process) && !watch::Holds(ids, started))
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
    if (!watch::Holds(search->ids, id)
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

BOOL CALLBACK CollectOwner(HWND window, LPARAM parameter)
{
    auto* owners = reinterpret_cast<std::pair<const std::vector<DWORD>*, std::vector<DWORD>>*>(parameter);
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    if (::IsWindowVisible(window) && watch::Holds(*owners->first, id) && !watch::Holds(owners->second, id))
        owners->second.push_back(id);
    return TRUE;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM parameter)
{
    auto* found = reinterpret_cast<std::pair<const std::vector<DWORD>*, std::vector<HWND>>*>(parameter);
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    if (::IsWindowVisible(window) && watch::Holds(*found->first, id))
        found->second.push_back(window);
    return TRUE;
}

// The visible top-level windows of the processes.
std::vector<HWND> VisibleWindows(const std::vector<DWORD>& ids)
{
    std::pair<const std::vector<DWORD>*, std::vector<HWND>> found{&ids, {}};
    if (!ids.empty())
        ::EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

// Those of the processes that show a visible window.
std::vector<DWORD> WindowOwners(const std::vector<DWORD>& ids)
{
    std::pair<const std::vector<DWORD>*, std::vector<DWORD>> owners{&ids, {}};
    if (!ids.empty())
        ::EnumWindows(CollectOwner, reinterpret_cast<LPARAM>(&owners));
    return owners.second;
}
BOOL CALLBACK AskToClose(HWND window, LPARAM ids)
{
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    if (::IsWindowVisible(window) && watch::Holds(*reinterpret_cast<const std::vector<DWORD>*>(ids), id))
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

namespace
{
// The display stays on while the program runs, and no longer.
class CDisplayRequest
{
public:
    explicit CDisplayRequest(EXECUTION_STATE(WINAPI* request)(EXECUTION_STATE)) : request(request)
    {
        if (request != nullptr)
            request(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED);
    }
    ~CDisplayRequest()
    {
        if (request != nullptr)
            request(ES_CONTINUOUS);
    }
    CDisplayRequest(const CDisplayRequest&) = delete;
    CDisplayRequest& operator=(const CDisplayRequest&) = delete;

private:
    EXECUTION_STATE(WINAPI* request)(EXECUTION_STATE);
};

// The watch over one program: the wait, the check and the hand-over, in turn.
class CProgramWatch
{
public:
    CProgramWatch(const CSessionEndWindow& session, HANDLE process, HANDLE job, const WatchSettings& settings,
                  watch::CDailyRestart& restart)
        : session(session), process(process), job(job), settings(settings), restart(restart),
          display(settings.executionState), screenSaver(settings.holdScreenSaverOff),
          pointer(settings.pointerQuietMs, settings.hidePointer),
          alive(settings.aliveFile, settings.aliveSeconds, settings.onAliveFileNeverWritten),
          showHook(settings.onWindowShown ? Shown : nullptr, this)
    {
    }

    WatchResult Run();

private:
    bool Checks() const
    {
        return settings.notRespondingSeconds != 0 || settings.checkWindows || !startedRuns || alive.IsSet();
    }
    // Until the started process has shown a window, it is looked at all the
    // same: one that never does is a launcher, which hands over all it left.
    bool Looks() const { return Checks() || !startedShowedWindow; }
    bool MinuteWakes() const { return restart.IsSet() || settings.hoursOver; }

    std::optional<WatchEnd> HandOver(std::vector<HANDLE>& waited, bool& lookAgainSoon);
    DWORD Wait(const std::vector<HANDLE>& waited, bool lookAgainSoon);
    std::optional<WatchEnd> Check();
    void TellResponding(const std::vector<watch::WindowState>& windows);
    // A window of the show seen shown for the first time is told of.
    void TellShown(HWND window);
    static void Shown(void* watch, HWND window) { static_cast<CProgramWatch*>(watch)->TellShown(window); }
    void TellAllShownAgain();
    bool WaitsForFirstWindow() const { return settings.onWindowShown && shown.empty(); }
    WatchEnd EndAll(WatchEnd why) const
    {
        return EndProgram(session, process, job, settings.onNotEnded) ? why : WatchEnd::SessionEnded;
    }
    // Nothing of a show that has ended outlives it.
    WatchEnd ShowEnded() const { return ProcessIds(process, job).empty() ? WatchEnd::Ended : EndAll(WatchEnd::Ended); }
    WatchResult Ended(WatchEnd end)
    {
        result.end = end == WatchEnd::Ended && session.EndIsTheLogoffs() ? WatchEnd::SessionEnded : end;
        return result;
    }

    const CSessionEndWindow& session;
    HANDLE process;
    HANDLE job;
    const WatchSettings& settings;
    watch::CDailyRestart& restart;
    CDisplayRequest display;
    CScreenSaverHold screenSaver;
    CPointerHider pointer;
    CAliveFile alive;
    CWindowShowHook showHook;
    std::vector<HWND> shown;
    watch::CHangTracker hangs;
    std::vector<HWND> seen;
    WatchResult result;
    bool responding = true;
    bool startedRuns = true;
    bool startedShowedWindow = false;
    std::optional<CHandOver> handOver;
    ULONGLONG nextCheck = ::GetTickCount64() + watch::kCheckMs;
    ULONGLONG windowlessSince = 0;
};

WatchResult CProgramWatch::Run()
{
    alive.Begin(settings.awakeMs());
    // Shown before the hook was there.
    if (WaitsForFirstWindow())
        TellAllShownAgain();
    SYSTEMTIME local;
    ::GetLocalTime(&local);
    restart.Begin(local);
    for (;;)
    {
        startedRuns = IsRunning(process);
        // The started process while it runs, then what it handed the show over to.
        std::vector<HANDLE> waited{process};
        bool lookAgainSoon = false;
        if (!startedRuns)
            if (const std::optional<WatchEnd> end = HandOver(waited, lookAgainSoon))
                return Ended(*end);
        const size_t asked = std::min(settings.requests.size(), MAXIMUM_WAIT_OBJECTS - 1 - waited.size());
        waited.insert(waited.begin(), settings.requests.begin(), settings.requests.begin() + asked);
        const DWORD woken = Wait(waited, lookAgainSoon);
        if (woken == CSessionEndWindow::kSessionOver)
            return Ended(WatchEnd::SessionEnded);
        if (woken == CSessionEndWindow::kDisplayChanged)
        {
            TellAllShownAgain();
            continue;
        }
        if (woken - WAIT_OBJECT_0 < asked)
        {
            if (settings.onRequest)
                settings.onRequest(woken - WAIT_OBJECT_0);
            return Ended(CloseProgram(session, process, job, settings.onNotEnded) ? WatchEnd::Asked
                                                                                  : WatchEnd::SessionEnded);
        }
        if (woken != WAIT_TIMEOUT)
            continue;
        pointer.Look(::GetTickCount64());
        if (WaitsForFirstWindow())
            TellAllShownAgain();
        ::GetLocalTime(&local);
        if (MinuteWakes() && settings.hoursOver && settings.hoursOver())
            return Ended(CloseProgram(session, process, job, settings.onNotEnded) ? WatchEnd::HoursOver
                                                                                  : WatchEnd::SessionEnded);
        if (restart.DueAt(local))
            return Ended(CloseProgram(session, process, job, settings.onNotEnded) ? WatchEnd::PlannedRestart
                                                                                  : WatchEnd::SessionEnded);
        if (::GetTickCount64() < nextCheck || !Looks())
            continue;
        nextCheck = ::GetTickCount64() + watch::kCheckMs;
        if (const std::optional<WatchEnd> end = Check())
            return Ended(*end);
    }
}

// The processes left are judged anew; the show's and the updates' are waited on.
std::optional<WatchEnd> CProgramWatch::HandOver(std::vector<HANDLE>& waited, bool& lookAgainSoon)
{
    const ULONGLONG awake = settings.awakeMs();
    if (!handOver)
        handOver.emplace(process, startedShowedWindow, awake);
    handOver->Look(ProcessIds(process, job), {}, awake);
    if (handOver->ShowEnded())
        return ShowEnded();
    waited = handOver->ToWait();
    lookAgainSoon = handOver->LookAgainSoon();
    return std::nullopt;
}

// Until a process waited on ends, a check or a look at the pointer is due, the
// restart's minute comes or the session ends; the thread's windows get their
// messages meanwhile.
DWORD CProgramWatch::Wait(const std::vector<HANDLE>& waited, bool lookAgainSoon)
{
    const ULONGLONG now = ::GetTickCount64();
    DWORD timeout = !Looks() ? INFINITE : now >= nextCheck ? 0 : static_cast<DWORD>(nextCheck - now);
    if (MinuteWakes())
    {
        SYSTEMTIME local;
        ::GetLocalTime(&local);
        timeout = std::min(timeout, watch::CDailyRestart::UntilNextMinute(local) + kPastTheMinuteMs);
    }
    if (lookAgainSoon)
        timeout = std::min(timeout, static_cast<DWORD>(kLookAgainMs));
    timeout = std::min(timeout, pointer.UntilLook(now));
    if (WaitsForFirstWindow())
        timeout = std::min(timeout, kFirstWindowLookMs);
    return session.Wait(static_cast<DWORD>(waited.size()), waited.data(), timeout);
}

// The windows and the alive file; after the hand-over, whether anything of
// the show is left that shows a window.
std::optional<WatchEnd> CProgramWatch::Check()
{
    // Read after the wait: an id read before it may name another process now.
    const std::vector<DWORD> ids = ProcessIds(process, job);
    if (startedRuns && !startedShowedWindow)
        startedShowedWindow = !WindowOwners({::GetProcessId(process)}).empty();
    if (!Checks())
        return std::nullopt;
    const ULONGLONG awake = settings.awakeMs();
    if (handOver)
        handOver->Look(ids, WindowOwners(ids), awake);
    const std::vector<watch::WindowState> windows = WindowsToCheck(startedRuns ? ids : handOver->ShowIds(), seen);
    TellResponding(windows);
    if (hangs.NotRespondingTooLong(windows, awake, settings.notRespondingSeconds))
        return EndAll(WatchEnd::NotResponding);
    if (alive.Frozen(awake))
    {
        result.aliveWritten = alive.Written();
        result.aliveUnchangedSeconds = alive.UnchangedSeconds();
        return EndAll(WatchEnd::Frozen);
    }
    if (startedRuns)
        return std::nullopt;
    const bool waits = !windows.empty() || handOver->UpdateAtWork();
    windowlessSince = waits ? 0 : windowlessSince != 0 ? windowlessSince : awake;
    if (watch::LeftIsNoShow(windowlessSince, awake))
        return ShowEnded();
    return std::nullopt;
}

void CProgramWatch::TellShown(HWND window)
{
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    if (!::IsWindowVisible(window) || std::find(shown.begin(), shown.end(), window) != shown.end()
        || !watch::Holds(ProcessIds(process, job), id))
        return;
    shown.erase(std::remove_if(shown.begin(), shown.end(), [](HWND gone) { return !::IsWindow(gone); }), shown.end());
    shown.push_back(window);
    settings.onWindowShown(window);
}

void CProgramWatch::TellAllShownAgain()
{
    if (!settings.onWindowShown)
        return;
    const bool first = shown.empty();
    for (HWND window : VisibleWindows(ProcessIds(process, job)))
        if (first)
            TellShown(window);
        else
            settings.onWindowShown(window);
}

// Whether every window found responds, to the settings' listener where that
// changed since the check before.
void CProgramWatch::TellResponding(const std::vector<watch::WindowState>& windows)
{
    bool allRespond = true;
    for (const watch::WindowState& window : windows)
    {
        result.responded = result.responded || window.responding;
        allRespond = allRespond && window.responding;
    }
    if (allRespond != responding && settings.onResponding)
        settings.onResponding(allRespond);
    responding = allRespond;
}
} // namespace

WatchResult WatchProgram(const CSessionEndWindow& session, HANDLE process, HANDLE job, const WatchSettings& settings,
                         watch::CDailyRestart& restart)
{
    return CProgramWatch(session, process, job, settings, restart).Run();
}
