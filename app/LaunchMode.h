#pragma once

#include "app/EventRecords.h"
#include "app/KeeperStatus.h"
#include "keep/DailyRestart.h"
#include "keep/ShowHours.h"
#include "launch/Launcher.h"
#include "settings/SlotSettings.h"
#include "settings/SlotStore.h"
#include "framework/Handle.h"
#include "framework/Monitors.h"
#include "ui/CoverWindow.h"
#include "ui/WaitDialog.h"

#include <optional>
#include <utility>

// How the slot's program is started: a kept one in a job of its own, tried
// again without a box where it cannot be started, and ended at once by a crash
// unless the slot leaves crashes to Windows' own handling.
StartOptions StartOptionsFor(const SlotSettings& settings);

// The alive file's path as stored, its variables expanded, in the program's
// folder where it is relative.
std::string AliveFilePath(const std::string& stored, const std::string& programFolder);

// Launch mode for one slot: the countdown and the start; for a slot kept
// running, the countdown and the start again whenever the program ends, for
// as long as the slot asks for it and the session lasts. The one place that
// decides to record, to start again or to stop.
class CLaunchMode
{
public:
    CLaunchMode(int slot, SlotSettings settings, CSlotStore store, CEventRecords records)
        : slot(slot), settings(std::move(settings)), store(store), records(records)
    {
    }

    void Run();

    // How the show hours are judged: by the computer's clock and zone, or by
    // a test's own (hours::Judge at its time and in its zone).
    using HoursJudge = hours::Verdict (*)(const hours::ShowHours&);
    void JudgeHoursBy(HoursJudge judge) { judgeHours = judge; }

private:
    // One countdown, with the label given in place of the usual one, and the
    // start after it; IDOK once the start was tried, IDCANCEL for an abort,
    // IDABORT when the session ended.
    INT_PTR RunCountdown(int delay, const std::string& label, LaunchResult& started);
    // The slot's daily restart, as now stored; one that is no time is
    // reported where asked (at the first start).
    void SetRestartTime(watch::CDailyRestart& restart, bool reportInvalid = true);
    // The slot whose start this slot's start waits for: none where that slot
    // is this one, or has no program, and at every start but the slot's
    // first in the logon.
    std::optional<int> SlotStartedBefore() const;
    // The slot's show hours, as now stored, for a kept slot; hours that
    // cannot be read are none (always), reported where asked.
    void SetShowHours(bool reportInvalid = true);
    // Whether the show is to run now: within its hours, or started outside
    // them until they next end; `verdict` the hours' own.
    bool InShowHours(hours::Verdict& verdict);
    bool InShowHours()
    {
        hours::Verdict verdict;
        return InShowHours(verdict);
    }
    // Outside the show hours the slot rests until they begin, or until asked
    // to start now; false where the keeping ends meanwhile. `delay` is the
    // countdown's that comes next.
    bool WaitForShowHours(int& delay);
    // Takes a request from outside (restart or stop): records who asked, and
    // answers that it was taken.
    void TakeRequest(bool stop);
    CWaitDialog::Request LookForRequest();
    // The monitor the slot names, or the primary where it names none or one
    // not there (told once).
    MonitorArea SlotMonitor(const std::vector<MonitorArea>& monitors);
    // The cover over the monitor while a kept slot's show is not on screen,
    // where the slot asks for it; a picture that cannot be read told once.
    void CoverWhileNoShow(const MonitorArea& monitor);
    // A window of the show has been shown: it goes on the slot's monitor,
    // and the cover goes.
    void ShowWindowShown(HWND window);

    int slot;
    SlotSettings settings;
    CSlotStore store;
    CEventRecords records;
    // The last start failed and was recorded.
    bool failureRecorded = false;
    // A countdown of this /run came before.
    bool countedDownBefore = false;
    // The slot's state and heartbeat while Run holds the slot.
    CKeeperStatus* keeper = nullptr;
    // While Run holds the slot: the slot's mutex; the requests from outside
    // and their answer, gone before the mutex.
    CKernelHandle slotRunning;
    CKernelHandle restartAsked;
    CKernelHandle stopAsked;
    CKernelHandle taken;
    bool stopTaken = false;
    CCoverWindow cover;
    std::string pictureReported;
    bool monitorMissingReported = false;
    hours::ShowHours showHours;
    HoursJudge judgeHours = hours::JudgeNow;
    bool startedOffHours = false;
};
