#include "ui/KeepOptionsDialog.h"

#include "framework/DataExchange.h"
#include "framework/ResourceString.h"
#include "framework/StringFormat.h"
#include "keep/DailyRestart.h"
#include "ui/resource.h"

namespace
{
constexpr int kFirstRestartMinute = 4 * 60;
constexpr UINT kFewestSeconds = 10;
constexpr UINT kMostSeconds = 3600;
} // namespace

BEGIN_MESSAGE_MAP(CKeepOptionsDialog, CDialog)
    ON_BN_CLICKED(IDC_RESTART_DAILY, OnRestartDaily)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CKeepOptionsDialog::CKeepOptionsDialog(const SlotSettings& values, CWnd* parent)
    : CDialog(IDD_KEEP_OPTIONS, parent), values(values)
{
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&classes);
}

void CKeepOptionsDialog::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_RESTART_DAILY, restartCheck);
    UINT seconds = values.notRespondingSeconds;
    if (!dx->m_bSaveAndValidate)
        DDX_Text(dx, IDC_NOT_RESPONDING, seconds);
}

BOOL CKeepOptionsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    toolTip = std::make_unique<CToolTipCtrl>();
    if (!toolTip->Create(this))
        toolTip.reset();
    for (UINT id : {IDC_RESTART_DAILY, IDC_RESTART_TIME, IDC_NOT_RESPONDING})
        if (toolTip)
            toolTip->AddTool(m_hWnd, GetDlgItem(static_cast<int>(id)), ResourceString(id).c_str());

    // 24-hour whatever the user's format; a stored value that is no time
    // shows unchecked and stays until a time is chosen here.
    HWND picker = GetDlgItem(IDC_RESTART_TIME);
    ::SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("HH':'mm"));
    const int minute = watch::MinuteOfDay(values.restartDaily);
    SYSTEMTIME time;
    ::GetLocalTime(&time);
    time.wHour = static_cast<WORD>((minute >= 0 ? minute : kFirstRestartMinute) / 60);
    time.wMinute = static_cast<WORD>((minute >= 0 ? minute : kFirstRestartMinute) % 60);
    time.wSecond = time.wMilliseconds = 0;
    ::SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    restartCheck.SetCheck(minute >= 0 ? BST_CHECKED : BST_UNCHECKED);
    OnRestartDaily();
    return TRUE;
}

void CKeepOptionsDialog::OnRestartDaily()
{
    ::EnableWindow(GetDlgItem(IDC_RESTART_TIME), restartCheck.GetCheck() == BST_CHECKED);
}

void CKeepOptionsDialog::OnOK()
{
    CDataExchange dx(this, TRUE);
    UINT seconds = 0;
    if (!DDX_Text(&dx, IDC_NOT_RESPONDING, seconds)
        || (seconds != 0 && !DDV_MinMaxUInt(&dx, seconds, kFewestSeconds, kMostSeconds)))
        return;
    if (seconds != values.notRespondingSeconds)
    {
        values.notRespondingSeconds = seconds;
        values.notRespondingChanged = true;
    }
    std::string restart;
    SYSTEMTIME time = {};
    if (restartCheck.GetCheck() == BST_CHECKED
        && ::SendMessageA(GetDlgItem(IDC_RESTART_TIME), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time))
               == GDT_VALID)
        restart = FormatString("%02u:%02u", time.wHour, time.wMinute);
    const int before = watch::MinuteOfDay(values.restartDaily);
    if ((before >= 0 || !restart.empty()) && watch::MinuteOfDay(restart) != before)
    {
        values.restartDaily = restart;
        values.restartDailyChanged = true;
    }
    EndDialog(IDOK);
}

void CKeepOptionsDialog::OnDestroy()
{
    toolTip.reset();
}

BOOL CKeepOptionsDialog::PreTranslateMessage(MSG* message)
{
    if (toolTip)
        toolTip->RelayEvent(message);
    return CDialog::PreTranslateMessage(message);
}
