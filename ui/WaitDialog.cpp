#include "ui/WaitDialog.h"

#include "framework/DataExchange.h"
#include "framework/Dpi.h"
#include "framework/Paths.h"
#include "launch/LateVolume.h"
#include "ui/Colours.h"
#include "ui/CountdownPlace.h"
#include "ui/resource.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace
{
constexpr UINT_PTR kCountdownTimer = 1;
constexpr UINT kTickMs = 1000;
} // namespace

IMPLEMENT_DYNAMIC(CWaitDialog, CDialog)

BEGIN_MESSAGE_MAP(CWaitDialog, CDialog)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
    ON_WM_DPICHANGED()
    ON_COLOURS_CHANGED()
    ON_WM_ENDSESSION()
END_MESSAGE_MAP()

CWaitDialog::CWaitDialog(int delay, std::string appPath, std::string showPath,
                         std::string parameter, int kiosk, CWnd* parent)
    : CDialog(IDD_WAIT, parent),
      appPath(std::move(appPath)),
      showPath(std::move(showPath)),
      parameter(std::move(parameter)),
      kiosk(kiosk),
      remaining(delay)
{
}

void CWaitDialog::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_WAIT_PROGRESS, progressBar);
    DDX_Text(dx, IDC_WAIT_SECONDS, shownSeconds);
}

BOOL CWaitDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    banner.Attach(m_hWnd, IDB_WAIT_BANNER);
    banner.ScaleTo(DialogScale(m_hWnd));
    // Nothing shows it, but screen readers and window tools say what will start.
    SetWindowText(FileName(Unquoted(appPath)).c_str());
    ShowCountdownInFreePlace(m_hWnd);

    const int delay = remaining;
    progressBar.SetRange(0, static_cast<short>(delay));
    progressBar.SetPos(0);
    ShowRemaining(delay);

    if (delay == 0)
        OnTimer(kCountdownTimer);
    else
        timerId = SetTimer(kCountdownTimer, kTickMs, nullptr);
    return TRUE;
}

void CWaitDialog::ShowRemaining(int seconds)
{
    int lower = 0;
    int upper = 0;
    progressBar.GetRange(lower, upper);
    // The bar clamps any position to its range; the subtraction must not
    // overflow on the way there.
    const long long position = static_cast<long long>(upper) - seconds;
    progressBar.SetPos(static_cast<int>(std::clamp<long long>(position, INT_MIN, INT_MAX)));
    shownSeconds = seconds;
    UpdateData(FALSE);
}

// One tick: the count goes down by one; the tick that takes it below zero
// starts the program, so the label rests on 0 for one whole tick first. A
// count already below zero starts it at once (and is never decremented, so
// the smallest number cannot wrap around).
void CWaitDialog::OnTimer(UINT_PTR)
{
    if (sessionEnded)
        return;
    if (remaining >= 0)
        --remaining;
    if (remaining >= 0)
    {
        ShowRemaining(remaining);
        Default();
        return;
    }
    if (WaitsForLateVolume())
    {
        if (timerId == 0)
            timerId = SetTimer(kCountdownTimer, kTickMs, nullptr);
        return;
    }

    if (timerId != 0)
        KillTimer(timerId);
    timerId = 0;
    ShowWindow(SW_HIDE);
    LaunchApplication(appPath);
    EndDialog(IDOK);
}

void CWaitDialog::OnOK()
{
}

void CWaitDialog::OnEndSession(bool ending)
{
    if (!ending)
        return;
    sessionEnded = true;
    if (timerId != 0)
        KillTimer(timerId);
    timerId = 0;
    EndDialog(IDABORT);
}

void CWaitDialog::OnCancel()
{
    if (abortAction)
        abortAction(std::max(remaining, 0));
    CDialog::OnCancel();
}

HBRUSH CWaitDialog::OnCtlColor(HDC dc, HWND window, UINT ctlColor)
{
    HBRUSH brush = CDialog::OnCtlColor(dc, window, ctlColor);
    if (window == m_hWnd && ctlColor == CTLCOLOR_DLG)
        return WindowGround();
    if (ctlColor == CTLCOLOR_STATIC)
        return LabelColours(dc, window);
    return brush;
}

void CWaitDialog::OnDpiChanged(UINT dpi)
{
    banner.ScaleTo(DpiScale(dpi));
}

void CWaitDialog::OnColoursChanged()
{
    RepaintInNewColours(m_hWnd);
}

bool CWaitDialog::WaitsForLateVolume()
{
    std::string volume = LateVolume(Unquoted(appPath));
    if (volume.empty())
        volume = LateVolume(Unquoted(showPath));
    if (volume.empty() || (waitingSince != 0 && ::GetTickCount64() - waitingSince >= lateVolumeWaitMs))
        return false;
    if (waitingSince == 0)
    {
        waitingSince = ::GetTickCount64();
        // The label takes the room of the seconds, which have run out.
        HWND label = GetDlgItem(IDC_STATIC);
        RECT labelPlace, progressPlace;
        ::GetWindowRect(label, &labelPlace);
        ::GetWindowRect(progressBar.m_hWnd, &progressPlace);
        ::SetWindowPos(label, nullptr, 0, 0, progressPlace.right - labelPlace.left, labelPlace.bottom - labelPlace.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::ShowWindow(GetDlgItem(IDC_WAIT_SECONDS), SW_HIDE);
        ::SetWindowTextA(label, ("Waiting for " + volume).c_str());
    }
    return true;
}

void CWaitDialog::LaunchApplication(std::string path)
{
    const LaunchCommand command = BuildLaunchCommand(path, parameter, kiosk, showPath);
    launched = StartProgram(m_hWnd, command, [this, &command](const LaunchResult& result) {
        if (launchAction)
            launchAction(command, result);
    });
}
