#include "app/LaunchMode.h"

#include "framework/NativeView.h"
#include "framework/Paths.h"
#include "framework/SessionEnd.h"
#include "framework/StringFormat.h"
#include "keep/DisplaysOff.h"
#include "keep/ProgramWatch.h"
#include "keep/RestartGuard.h"
#include "settings/RegistryNames.h"
#include "settings/SlotStatus.h"
#include "ui/OffHoursDialog.h"
#include "ui/WaitDialog.h"

#include <algorithm>

namespace
{
// Long enough for someone who closed the program on purpose to press Abort.
constexpr int kLeastDelayAgain = 10;
// How long a start waits for the slot it starts after.
constexpr int kStartAfterMs = 300000;
// How long the pointer stays still before it is hidden.
constexpr ULONGLONG kPointerQuietMs = 5000;
} // namespace

// Typed in the settings or by `reg add`, a path with variables is often stored
// as REG_SZ; they are expanded all the same. A relative path lies in the
// folder the program was started in.
std::string AliveFilePath(const std::string& stored, const std::string& programFolder)
{
    const std::string path = ExpandAsExplorer(stored);
    const bool relative = !path.empty() && path[0] != '\\' && path[0] != '/' && (path.size() < 2 || path[1] != ':');
    return relative ? programFolder + (programFolder.empty() || programFolder.back() == '\\' ? "" : "\\") + path : path;
}

StartOptions StartOptionsFor(const SlotSettings& settings)
{
    StartOptions options;
    options.kept = options.failureUnboxed = settings.keepRunning;
    options.crashEndsAtOnce = settings.keepRunning && !settings.windowsErrorReporting;
    return options;
}

INT_PTR CLaunchMode::RunCountdown(int delay, const std::string& label, LaunchResult& started)
{
    const MonitorArea monitor = SlotMonitor(ListMonitors());
    CoverWhileNoShow(monitor);
    CWaitDialog dialog(delay, settings.appPath, settings.showPath, settings.parameter, settings.kiosk, nullptr);
    dialog.SetMonitorWork(monitor.work);
    // A series of failed starts is recorded at its first.
    dialog.SetLaunchAction([this, delay](const LaunchCommand& command, const LaunchResult& result) {
        if (result.error == ERROR_SUCCESS || !failureRecorded)
            records.RecordLaunch(command, result, delay);
        failureRecorded = result.error != ERROR_SUCCESS;
        keeper->StartTried(result, settings.keepRunning && result.process);
    });
    dialog.SetWaitingAction([this] { keeper->WaitingForDrive(); });
    keeper->CountingDown();
    dialog.SetAbortAction([this](int secondsLeft) { records.RecordAbort(secondsLeft); });
    dialog.SetStartOptions(StartOptionsFor(settings));
    if (const std::optional<int> after = SlotStartedBefore())
        dialog.SetStartAfter([this, after] { return CSlotStatus::Starts(store.KeyPath(*after)) > 0; },
                             FormatString("Waiting for slot %d to start", *after), kStartAfterMs,
                             [this, after] { records.RecordStartAfterLate(*after, kStartAfterMs / 1000); });
    dialog.SetLabel(label);
    dialog.SetRequestLook([this] { return LookForRequest(); }, settings.delay);
    countedDownBefore = true;
    const INT_PTR outcome = dialog.DoModal();
    started = dialog.TakeLaunchResult();
    return outcome;
}

void CLaunchMode::Run()
{
    // One of this program a slot in a session: the same slot started again
    // (by a copy of its Run command in the Startup folder, say) starts nothing.
    slotRunning.reset(::CreateMutexA(nullptr, FALSE, regnames::RunMutexName(slot).c_str()));
    if (!slotRunning || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return;
    // At a logoff, told before the programs it keeps, whose end is then no
    // end to answer.
    ::SetProcessShutdownParameters(0x300, 0);
    CKeeperStatus status(store.KeyPath(slot), settings, records);
    restartAsked.reset(::CreateEventA(nullptr, FALSE, FALSE, regnames::RestartEventName(slot).c_str()));
    stopAsked.reset(::CreateEventA(nullptr, FALSE, FALSE, regnames::StopEventName(slot).c_str()));
    taken.reset(::CreateEventA(nullptr, FALSE, FALSE, regnames::TakenEventName(slot).c_str()));
    keeper = &status;
    CRestartGuard guard;
    watch::CDailyRestart restart;
    SetRestartTime(restart);
    SetShowHours();
    for (int delay = settings.delay;;)
    {
        if (!WaitForShowHours(delay))
            return;
        LaunchResult started;
        // The countdown ends with IDABORT when the session ends.
        if (RunCountdown(delay, guard.Label(), started) != IDOK || !settings.keepRunning)
            return;
        const std::string program = Unquoted(settings.appPath);
        WatchResult watched;
        ULONGLONG ranMs = 0;
        if (started.error == ERROR_SUCCESS)
        {
            if (!started.process)
            {
                records.RecordNotKeptRunning(program);
                return;
            }
            const ULONGLONG since = ::GetTickCount64();
            const CSessionEndWindow session;
            WatchSettings watching;
            watching.notRespondingSeconds = settings.notRespondingSeconds;
            watching.aliveFile = AliveFilePath(settings.aliveFile, started.folder);
            watching.aliveSeconds = settings.aliveSeconds;
            if (settings.keepDisplayOn)
                watching.executionState = ::SetThreadExecutionState;
            watching.holdScreenSaverOff = settings.keepDisplayOn;
            watching.pointerQuietMs = settings.hideCursor ? kPointerQuietMs : 0;
            watching.onResponding = [this](bool responding) { keeper->Responding(responding); };
            watching.checkWindows = !settings.heartbeatUrl.empty();
            // The show is down while what is left of it cannot be ended: no heartbeat then.
            watching.onNotEnded = [this, &program](DWORD error) {
                records.RecordNotEnded(program, error);
                keeper->Responding(false);
            };
            watching.onAliveFileNeverWritten = [this, &program, &watching] {
                records.RecordAliveFileNeverWritten(program, watching.aliveFile, watching.aliveSeconds);
            };
            watching.requests = {restartAsked.get(), stopAsked.get()};
            watching.onRequest = [this](size_t index) { TakeRequest(index == 1); };
            if (cover.IsShown() || settings.monitor != 0)
                watching.onWindowShown = [this](HWND window) { ShowWindowShown(window); };
            if (!showHours.Always())
                watching.hoursOver = [this] { return !InShowHours(); };
            watched = WatchProgram(session, started.process.get(), started.job.get(), watching, restart);
            if (watched.end == WatchEnd::SessionEnded)
                return;
            ranMs = ::GetTickCount64() - since;
            if (watched.end == WatchEnd::NotResponding)
                records.RecordNotResponding(program, settings.notRespondingSeconds);
            if (watched.end == WatchEnd::Frozen)
                records.RecordAliveFileStale(program, watching.aliveFile, watched.aliveUnchangedSeconds);
            if (watched.end == WatchEnd::PlannedRestart)
                records.RecordPlannedRestart(program, settings.restartDaily);
            DWORD exitCode = 0;
            ::GetExitCodeProcess(started.process.get(), &exitCode);
            keeper->Ended(exitCode);
            records.RecordEnd(program, started.processId, exitCode, ranMs);
            if (stopTaken)
                return;
        }
        // Disable, or a slot no longer kept running, ends the keeping quietly.
        if (!store.LoadExisting(slot, settings) || settings.appPath.empty() || !settings.keepRunning)
            return;
        // Closed on request or at the end of the hours: no end of its own, counted as none.
        if (watched.end == WatchEnd::Asked || watched.end == WatchEnd::HoursOver)
            delay = settings.delay;
        else
        {
            if (started.error == ERROR_SUCCESS)
                guard.CountEnd(ranMs, watched);
            else
                guard.CountFailedStart(StartFailureWords(started.error));
            delay = guard.NextDelay(std::max(settings.delay, kLeastDelayAgain));
            if (guard.ReportNow())
                records.RecordQuickEnds(program, guard.QuickEndsInARow(), delay);
        }
        SetRestartTime(restart, false);
        SetShowHours(false);
    }
}

void CLaunchMode::SetShowHours(bool reportInvalid)
{
    std::string wrong;
    showHours = {};
    if (settings.keepRunning && !hours::Parse(settings.showHours, showHours, wrong))
    {
        showHours = {};
        if (reportInvalid)
            records.RecordShowHoursInvalid(settings.showHours, wrong);
    }
}

bool CLaunchMode::InShowHours(hours::Verdict& verdict)
{
    if (showHours.Always())
        return true;
    verdict = judgeHours(showHours);
    startedOffHours = startedOffHours && !verdict.within;
    return verdict.within || startedOffHours;
}

bool CLaunchMode::WaitForShowHours(int& delay)
{
    hours::Verdict verdict;
    if (InShowHours(verdict))
        return true;
    keeper->OffHours(verdict.nextChangeLocal);
    records.RecordOffHoursBegin(Unquoted(settings.appPath), ShortTimeText(verdict.nextChangeLocal));
    // The cover and the resting displays stay until the off hours end.
    CoverWhileNoShow(SlotMonitor(ListMonitors()));
    CDisplaysOff displays(settings.offHoursDisplay);
    COffHoursDialog window(ShortTimeText(verdict.nextChangeLocal));
    window.SetMinuteLook([&] {
        if (InShowHours(verdict))
            return false;
        window.SetUntil(ShortTimeText(verdict.nextChangeLocal));
        keeper->OffHours(verdict.nextChangeLocal);
        displays.AtMinute();
        return true;
    });
    window.SetRequests({restartAsked.get(), stopAsked.get()}, [this](size_t index) {
        TakeRequest(index == 1);
        return index == 1 ? IDCLOSE : IDOK;
    });
    switch (window.DoModal())
    {
    case IDRETRY:
        records.RecordShowHoursBegin(ShortTimeText(verdict.nextChangeLocal));
        delay = settings.delay;
        return true;
    case IDOK:
        startedOffHours = true;
        delay = 0;
        return true;
    case IDCANCEL:
        records.RecordAbort(0);
        return false;
    default:
        return false;
    }
}

std::optional<int> CLaunchMode::SlotStartedBefore() const
{
    SlotSettings other;
    const std::optional<int> after = settings.startAfter;
    // Only the slot's first start in the logon waits: no restart, nor a
    // /run of the slot after one that started it.
    if (!after || *after == slot || countedDownBefore || CSlotStatus::Starts(store.KeyPath(slot)) > 0
        || !store.LoadExisting(*after, other) || other.appType == AppType::Disable || other.appPath.empty())
        return std::nullopt;
    return after;
}

void CLaunchMode::TakeRequest(bool stop)
{
    stopTaken = stop;
    const std::string asker = CSlotStatus::TakeAskedBy(store.KeyPath(slot));
    records.RecordRequestTaken(stop ? "stop" : "restart", asker.empty() ? "a program not named" : asker);
    ::SetEvent(taken.get());
}

CWaitDialog::Request CLaunchMode::LookForRequest()
{
    for (const HANDLE asked : {stopAsked.get(), restartAsked.get()})
        if (asked != nullptr && ::WaitForSingleObject(asked, 0) == WAIT_OBJECT_0)
        {
            TakeRequest(asked == stopAsked.get());
            return stopTaken ? CWaitDialog::Request::Stop : CWaitDialog::Request::CountAgain;
        }
    return CWaitDialog::Request::None;
}

MonitorArea CLaunchMode::SlotMonitor(const std::vector<MonitorArea>& monitors)
{
    if (settings.monitor == 0)
        return PrimaryMonitor(monitors);
    if (const MonitorArea* named = MonitorNumbered(monitors, settings.monitor))
        return *named;
    if (!monitorMissingReported)
        records.RecordMonitorMissing(settings.monitor);
    monitorMissingReported = true;
    return PrimaryMonitor(monitors);
}

void CLaunchMode::CoverWhileNoShow(const MonitorArea& monitor)
{
    if (!settings.cover || !settings.keepRunning)
    {
        cover.Hide();
        return;
    }
    const std::string picture = ExpandAsExplorer(settings.coverPicture);
    if (!cover.Show(monitor.rect, picture) && picture != pictureReported)
    {
        records.RecordCoverPictureUnreadable(picture);
        pictureReported = picture;
    }
}

void CLaunchMode::ShowWindowShown(HWND window)
{
    if (settings.monitor != 0)
    {
        const std::vector<MonitorArea> monitors = ListMonitors();
        MoveToMonitor(window, monitors, SlotMonitor(monitors));
    }
    cover.Hide();
}

void CLaunchMode::SetRestartTime(watch::CDailyRestart& restart, bool reportInvalid)
{
    const int minute = watch::MinuteOfDay(settings.restartDaily);
    restart.SetMinute(minute);
    if (minute < 0 && !settings.restartDaily.empty() && reportInvalid && settings.keepRunning)
        records.RecordRestartTimeInvalid(settings.restartDaily);
}
