#include "ui/WaitDialog.h"

#include "framework/DataExchange.h"
#include "framework/Dpi.h"
#include "framework/Paths.h"
#include "framework/StringFormat.h"
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
constexpr UINT WM_LATE_VOLUME_ANSWER = WM_APP + 2;
// A look on a share that answers at once is acted on as if the countdown had
// looked itself (one on a local disk is made on this thread anyway). Only a
// slow one is answered later.
constexpr DWORD kQuickLookMs = 100;

std::string LateVolumeAsNamed(const std::string& path)
{
    return LateVolume(path);
}

int TextWidth(HWND label, const std::string& text)
{
    SIZE extent = {};
    HDC dc = ::GetDC(label);
    const HGDIOBJ font = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    ::SelectObject(dc, font);
    ::ReleaseDC(label, dc);
    return extent.cx;
}

RECT PlaceOf(HWND control)
{
    RECT place;
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}
} // namespace

IMPLEMENT_DYNAMIC(CWaitDialog, CDialog)

BEGIN_MESSAGE_MAP(CWaitDialog, CDialog)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
    ON_WM_DPICHANGED()
    ON_COLOURS_CHANGED()
    ON_WM_ENDSESSION()
    if (message == WM_LATE_VOLUME_ANSWER)
    {
        OnLateVolumeAnswer();
        return TRUE;
    }
END_MESSAGE_MAP()

CWaitDialog::CWaitDialog(int delay, std::string appPath, std::string showPath,
                         std::string parameter, int kiosk, CWnd* parent)
    : CDialog(IDD_WAIT, parent),
      appPath(std::move(appPath)),
      showPath(std::move(showPath)),
      parameter(std::move(parameter)),
      kiosk(kiosk),
      remaining(delay),
      lateVolumeLook(LateVolumeAsNamed)
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
    if (!::IsRectEmpty(&monitorWork))
    {
        RECT place;
        ::GetWindowRect(m_hWnd, &place);
        ::SetWindowPos(m_hWnd, nullptr, (monitorWork.left + monitorWork.right - (place.right - place.left)) / 2,
                       (monitorWork.top + monitorWork.bottom - (place.bottom - place.top)) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowCountdownInFreePlace(m_hWnd);
    if (!label.empty())
        ShowLabel();

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
    if (finished || TakeRequest())
        return;
    if (remaining >= 0)
        --remaining;
    if (remaining >= 0)
    {
        ShowRemaining(remaining);
        Default();
        return;
    }
    if (!StartAfterIsDone())
        return;
    // A look that has not answered by the end of the wait is not waited for.
    if (waitingSince != 0 && ::GetTickCount64() - waitingSince >= lateVolumeWaitMs)
        StartNow();
    else if (!lateVolumeCheck || !lateVolumeCheck->UnderWay())
        LookForLateVolume();
}

bool CWaitDialog::TakeRequest()
{
    const Request request = requestLook ? requestLook() : Request::None;
    if (request == Request::Stop)
    {
        finished = true;
        KillTimer(timerId);
        timerId = 0;
        EndDialog(IDCLOSE);
    }
    if (request == Request::CountAgain)
    {
        remaining = countAgainFrom;
        progressBar.SetRange(0, static_cast<short>(remaining));
        ShowRemaining(remaining);
    }
    return request != Request::None;
}

bool CWaitDialog::StartAfterIsDone()
{
    if (!startAfter.ready || startAfter.ready())
        return true;
    const ULONGLONG now = ::GetTickCount64();
    if (startAfter.since == 0)
    {
        startAfter.since = now;
        ShowWaiting(startAfter.waiting);
        if (timerId == 0)
            timerId = SetTimer(kCountdownTimer, kTickMs, nullptr);
    }
    if (now - startAfter.since < startAfter.waitMs)
        return false;
    startAfter.ready = nullptr;
    if (startAfter.late)
        startAfter.late();
    return true;
}

void CWaitDialog::StartNow()
{
    finished = true;
    if (timerId != 0)
        KillTimer(timerId);
    timerId = 0;
    LaunchApplication(appPath);
    ShowWindow(SW_HIDE);
    EndDialog(IDOK);
}

// Windows lets only a process that the foreground one allowed take the
// foreground: the program must not open behind other windows.
void CWaitDialog::HandOver(DWORD processId)
{
    if (processId != 0 && ::GetForegroundWindow() == m_hWnd)
        AllowForeground(processId);
    ShowWindow(SW_HIDE);
}

void CWaitDialog::LookForLateVolume()
{
    if (!lateVolumeCheck)
        lateVolumeCheck = std::make_unique<CLateVolumeCheck>(Unquoted(appPath), Unquoted(showPath), lateVolumeLook);
    if (!lateVolumeCheck->Start(m_hWnd, WM_LATE_VOLUME_ANSWER))
        StartNow();
    else if (lateVolumeCheck->WaitForAnswer(kQuickLookMs))
        OnLateVolumeAnswer();
}

void CWaitDialog::OnLateVolumeAnswer()
{
    if (finished || !lateVolumeCheck || lateVolumeCheck->UnderWay())
        return;
    const std::string volume = lateVolumeCheck->Answer();
    if (volume.empty() || (waitingSince != 0 && ::GetTickCount64() - waitingSince >= lateVolumeWaitMs))
    {
        StartNow();
        return;
    }
    ShowWaitingFor(volume);
    if (timerId == 0)
        timerId = SetTimer(kCountdownTimer, kTickMs, nullptr);
}
void CWaitDialog::OnOK()
{
}

void CWaitDialog::OnEndSession(bool ending)
{
    if (!ending)
        return;
    finished = true;
    if (timerId != 0)
        KillTimer(timerId);
    timerId = 0;
    EndDialog(IDABORT);
}

void CWaitDialog::OnCancel()
{
    finished = true;
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

// The label takes the width of the dialog's text area and one line, and
// elides the middle of a name still too long.
void CWaitDialog::ShowWaitingFor(const std::string& volume)
{
    if (waitingSince != 0)
        return;
    waitingSince = ::GetTickCount64();
    if (waitingAction)
        waitingAction();
    ShowWaiting(FormatString("Waiting for %s", volume.c_str()));
}

void CWaitDialog::ShowWaiting(const std::string& text)
{
    HWND label = GetDlgItem(IDC_WAIT_LABEL);
    RECT client, margin = {7, 0, 7, 0};
    ::GetClientRect(m_hWnd, &client);
    const RECT place = PlaceOf(label);
    ::MapDialogRect(m_hWnd, &margin);
    const int width = client.right - margin.left - margin.right;
    ::SetWindowPos(label, nullptr, margin.left, place.top, width, place.bottom - place.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    const LONG style = (::GetWindowLongA(label, GWL_STYLE) & ~(SS_TYPEMASK | SS_ELLIPSISMASK)) | SS_CENTER
                       | SS_NOPREFIX | (TextWidth(label, text) > width ? SS_PATHELLIPSIS : 0);
    ::SetWindowLongA(label, GWL_STYLE, style);
    ::ShowWindow(GetDlgItem(IDC_WAIT_SECONDS), SW_HIDE);
    ::SetWindowTextA(label, text.c_str());
}

// The label and the seconds after it, centred together in the text area; a
// label too long for it ends in an ellipsis.
void CWaitDialog::ShowLabel()
{
    HWND text = GetDlgItem(IDC_WAIT_LABEL);
    HWND seconds = GetDlgItem(IDC_WAIT_SECONDS);
    RECT client, margin = {7, 0, 3, 0};
    ::GetClientRect(m_hWnd, &client);
    ::MapDialogRect(m_hWnd, &margin);
    const RECT place = PlaceOf(text);
    const RECT number = PlaceOf(seconds);
    const int numberWidth = number.right - number.left;
    const int room = client.right - 2 * margin.left - margin.right - numberWidth;
    const int width = std::min(TextWidth(text, label), room);
    const int left = std::max<int>(margin.left, (client.right - width - margin.right - numberWidth) / 2);
    ::SetWindowLongA(text, GWL_STYLE, ::GetWindowLongA(text, GWL_STYLE) | SS_NOPREFIX | SS_ENDELLIPSIS);
    ::SetWindowTextA(text, label.c_str());
    ::SetWindowPos(text, nullptr, left, place.top, width, place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(seconds, nullptr, left + width + margin.right, number.top, 0, 0,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void CWaitDialog::LaunchApplication(std::string path)
{
    const LaunchCommand command = BuildLaunchCommand(path, parameter, kiosk, showPath);
    StartOptions options = startOptions;
    options.beforeRun = [this](DWORD processId) { HandOver(processId); };
    launched = StartProgram(
        m_hWnd, command,
        [this, &command](const LaunchResult& result) {
            if (launchAction)
                launchAction(command, result);
        },
        options);
}
