#include "ui/OffHoursDialog.h"

#include "framework/StringFormat.h"
#include "keep/DailyRestart.h"
#include "ui/CountdownPlace.h"
#include "ui/resource.h"

#include <utility>

namespace
{
constexpr UINT_PTR kMinuteTimer = 1;
constexpr UINT WM_REQUEST_SIGNALLED = WM_APP + 3;
// The wake comes a little into the minute.
constexpr DWORD kPastTheMinuteMs = 200;
} // namespace

BEGIN_MESSAGE_MAP(COffHoursDialog, CDialog)
    ON_WM_TIMER()
    ON_WM_ENDSESSION()
    ON_BN_CLICKED(IDC_START_NOW, OnStartNow)
    if (message == WM_TIMECHANGE || (message == WM_POWERBROADCAST && wParam == PBT_APMRESUMEAUTOMATIC))
        OnTimer(kMinuteTimer);
    if (message == WM_REQUEST_SIGNALLED)
    {
        EndDialog(onRequest(static_cast<size_t>(wParam)));
        return TRUE;
    }
END_MESSAGE_MAP()

COffHoursDialog::COffHoursDialog(std::string until) : CDialog(IDD_OFF_HOURS), until(std::move(until))
{
}

COffHoursDialog::~COffHoursDialog()
{
    for (const Waiting& waiting : waits)
        if (waiting.wait != nullptr)
            ::UnregisterWaitEx(waiting.wait, INVALID_HANDLE_VALUE);
}

void COffHoursDialog::SetRequests(std::vector<HANDLE> events, std::function<int(size_t index)> answer)
{
    requests = std::move(events);
    onRequest = std::move(answer);
}

BOOL COffHoursDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetUntil(until);
    ShowCountdownInFreePlace(m_hWnd);
    waits = std::vector<Waiting>(requests.size());
    for (size_t i = 0; i < requests.size(); ++i)
    {
        waits[i] = {m_hWnd, i, nullptr};
        ::RegisterWaitForSingleObject(&waits[i].wait, requests[i], RequestSignalled, &waits[i], INFINITE,
                                      WT_EXECUTEONLYONCE);
    }
    WaitForMinute();
    return TRUE;
}

void CALLBACK COffHoursDialog::RequestSignalled(void* waiting, BOOLEAN)
{
    const Waiting& signalled = *static_cast<const Waiting*>(waiting);
    ::PostMessageA(signalled.window, WM_REQUEST_SIGNALLED, signalled.index, 0);
}

void COffHoursDialog::SetUntil(const std::string& text)
{
    until = text;
    ::SetDlgItemTextA(m_hWnd, IDC_OFF_HOURS_UNTIL, FormatString("Off hours until %s", until.c_str()).c_str());
}

void COffHoursDialog::WaitForMinute()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    SetTimer(kMinuteTimer, watch::CDailyRestart::UntilNextMinute(now) + kPastTheMinuteMs, nullptr);
}

void COffHoursDialog::OnTimer(UINT_PTR)
{
    if (minuteLook && !minuteLook())
        return EndDialog(IDRETRY);
    WaitForMinute();
}

void COffHoursDialog::OnEndSession(bool ending)
{
    if (ending)
        EndDialog(IDABORT);
}
