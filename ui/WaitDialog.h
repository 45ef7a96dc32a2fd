#pragma once

#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "framework/ProgressCtrl.h"
#include "launch/LateVolumeCheck.h"
#include "launch/Launcher.h"
#include "ui/Banner.h"

#include <functional>
#include <memory>

#include <string>

// The topmost countdown of launch mode: counts the delay down once a second,
// then hides itself, starts the program and ends with IDOK; Abort ends it
// with IDCANCEL and starts nothing. Where the program or the show file is
// missing on a volume that may come late (a share, a network or removable
// drive), it says so and waits for it, checking once a second, for up to ten
// minutes before it starts all the same.
class CWaitDialog : public CDialog
{
    DECLARE_DYNAMIC(CWaitDialog)

public:
    CWaitDialog(int delay, std::string appPath, std::string showPath, std::string parameter,
                int kiosk, CWnd* parent = nullptr);

    void ShowRemaining(int seconds);

    // Told how the start went (as soon as the system has answered, before any
    // error box), respectively how many seconds were left at an abort.
    using LaunchAction = std::function<void(const LaunchCommand&, const LaunchResult&)>;
    using AbortAction = std::function<void(int secondsLeft)>;
    void SetLaunchAction(LaunchAction action) { launchAction = std::move(action); }
    void SetAbortAction(AbortAction action) { abortAction = std::move(action); }
    // Told when the countdown starts waiting for a late volume.
    void SetWaitingAction(std::function<void()> action) { waitingAction = std::move(action); }

    // How the start went, with the started process; nothing before the start
    // or after an abort.
    LaunchResult TakeLaunchResult() { return std::move(launched); }

    // A label in place of "Time remaining:" (none: that one).
    void SetLabel(std::string text) { label = std::move(text); }

    // How the program is started (see StartOptions); the countdown hands the
    // foreground on before it runs.
    void SetStartOptions(StartOptions options) { startOptions = std::move(options); }

    // Once the count has run out, the start waits until `ready` says so (the
    // label says `waiting`, Abort works), `waitMs` at most; then `late` is
    // told, and the program starts all the same.
    void SetStartAfter(std::function<bool()> ready, std::string waiting, ULONGLONG waitMs, std::function<void()> late)
    {
        startAfter = {std::move(ready), std::move(waiting), waitMs, std::move(late), 0};
    }

    // Looked at each second while the countdown ticks: a request to count
    // down again from `againFrom` seconds, or to stop: the countdown ends with
    // IDCLOSE, starting nothing, and it is no abort.
    enum class Request
    {
        None,
        CountAgain,
        Stop,
    };
    void SetRequestLook(std::function<Request()> look, int againFrom)
    {
        requestLook = std::move(look);
        countAgainFrom = againFrom;
    }

    // The work area of the monitor the countdown opens on (centred there);
    // none: Windows' choice.
    void SetMonitorWork(const RECT& work) { monitorWork = work; }

    // How long a late volume is waited for; ten minutes unless a test says less.
    void SetLateVolumeWait(ULONGLONG milliseconds) { lateVolumeWaitMs = milliseconds; }
    // What looks for a late volume; a test stands in for a server that does
    // not answer.
    void SetLateVolumeLook(CLateVolumeCheck::LookFunction look) { lateVolumeLook = look; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* dx) override;

    // The countdown has no help: F1 changes nothing.
    BOOL OnHelpInfo(HELPINFO*) override { return TRUE; }
    void OnTimer(UINT_PTR id);
    HBRUSH OnCtlColor(HDC dc, HWND window, UINT ctlColor);
    void OnDpiChanged(UINT dpi);
    void OnColoursChanged();
    // The session ends: the countdown ends at once with IDABORT, starting
    // nothing, and it is no abort.
    void OnEndSession(bool ending);

    // Starts the program once the count has run out.
    virtual void LaunchApplication(std::string appPath);
    // Starts the program, hiding the countdown just before it runs, and ends
    // with IDOK.
    void StartNow();
    // The program is about to run: it may take the foreground, which this
    // countdown hands on while it still holds it, then the countdown hides.
    void HandOver(DWORD processId);
    // Lets the process take the foreground (a test records when).
    virtual void AllowForeground(DWORD processId) { ::AllowSetForegroundWindow(processId); }
    // Looks whether the program or the show file waits for a late volume.
    void LookForLateVolume();
    void OnLateVolumeAnswer();
    void ShowWaitingFor(const std::string& volume);
    void ShowWaiting(const std::string& text);
    // Whether the start may go ahead, as far as the slot it waits for goes.
    bool StartAfterIsDone();
    // Acts on a request from outside; false where there is none.
    bool TakeRequest();
    void ShowLabel();

    DECLARE_MESSAGE_MAP()

    UINT_PTR timerId = 0;
    std::string appPath;
    std::string showPath;
    std::string parameter;
    int kiosk;
    int remaining;
    CBanner banner;
    CProgressCtrl progressBar;
    int shownSeconds = 0;

private:
    LaunchAction launchAction;
    AbortAction abortAction;
    std::function<void()> waitingAction;
    std::function<Request()> requestLook;
    int countAgainFrom = 0;
    LaunchResult launched;
    bool finished = false;
    StartOptions startOptions;
    std::string label;
    RECT monitorWork = {};
    ULONGLONG lateVolumeWaitMs = 10 * 60 * 1000;
    ULONGLONG waitingSince = 0;
    CLateVolumeCheck::LookFunction lateVolumeLook;
    std::unique_ptr<CLateVolumeCheck> lateVolumeCheck;
    struct
    {
        std::function<bool()> ready;
        std::string waiting;
        ULONGLONG waitMs = 0;
        std::function<void()> late;
        ULONGLONG since = 0;
    } startAfter;
};
