#include "ui/KeepOptionsDialog.h"

#include "framework/DataExchange.h"
#include "framework/FileDialog.h"
#include "framework/MessageBox.h"
#include "framework/StringFormat.h"
#include "keep/DailyRestart.h"
#include "keep/ShowHours.h"
#include "ui/TextRoom.h"
#include "ui/resource.h"

#include <cstring>

namespace
{
constexpr int kFirstRestartMinute = 4 * 60;
constexpr UINT kFewestSeconds = 10;
constexpr UINT kMostSeconds = 3600;

bool IsWebAddress(const std::string& url)
{
    for (const char* scheme : {"http://", "https://"})
        if (url.size() > std::strlen(scheme) && _strnicmp(url.c_str(), scheme, std::strlen(scheme)) == 0)
            return true;
    return false;
}
} // namespace

BEGIN_MESSAGE_MAP(CKeepOptionsDialog, CDialog)
    ON_BN_CLICKED(IDC_RESTART_DAILY, OnRestartDaily)
    ON_BN_CLICKED(IDC_BROWSE_ALIVE, OnBrowseAlive)
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
    UINT beat = PeriodSeconds(values.heartbeatSeconds);
    if (!dx->m_bSaveAndValidate)
    {
        DDX_Text(dx, IDC_NOT_RESPONDING, seconds);
        DDX_Text(dx, IDC_HEARTBEAT_URL, values.heartbeatUrl);
        DDX_Text(dx, IDC_HEARTBEAT_SECONDS, beat);
        DDX_Text(dx, IDC_ALIVE_FILE, values.aliveFile);
        UINT aliveSeconds = values.aliveSeconds;
        DDX_Text(dx, IDC_ALIVE_SECONDS, aliveSeconds);
        ::CheckDlgButton(m_hWnd, IDC_KEEP_DISPLAY_ON, values.keepDisplayOn ? BST_CHECKED : BST_UNCHECKED);
        DDX_Text(dx, IDC_SHOW_HOURS, values.showHours);
        ::CheckDlgButton(m_hWnd, IDC_OFF_HOURS_DISPLAY, values.offHoursDisplay ? BST_CHECKED : BST_UNCHECKED);
    }
}

BOOL CKeepOptionsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    tips.Create(this, {IDC_RESTART_DAILY, IDC_RESTART_TIME, IDC_NOT_RESPONDING, IDC_HEARTBEAT_URL, IDC_HEARTBEAT_SECONDS,
                       IDC_ALIVE_FILE, IDC_BROWSE_ALIVE, IDC_ALIVE_SECONDS, IDC_KEEP_DISPLAY_ON, IDC_HIDE_CURSOR,
                       IDC_COVER, IDC_COVER_PICTURE, IDC_BROWSE_COVER, IDC_MONITOR, IDC_SHOW_HOURS,
                       IDC_OFF_HOURS_DISPLAY});

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
    FitTexts(m_hWnd);
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
    std::string url;
    UINT beat = 0;
    if (!DDX_Text(&dx, IDC_HEARTBEAT_URL, url))
        return;
    if (!url.empty() && !IsWebAddress(url))
    {
        AfxMessageBox("The heartbeat URL must start with http:// or https://.", MB_ICONEXCLAMATION);
        return dx.Fail();
    }
    if (!DDX_Text(&dx, IDC_HEARTBEAT_SECONDS, beat) || !DDV_MinMaxUInt(&dx, beat, kFewestPeriodSeconds, kMostPeriodSeconds))
        return;
    std::string aliveFile;
    UINT aliveSeconds = 0;
    if (!DDX_Text(&dx, IDC_ALIVE_FILE, aliveFile) || !DDX_Text(&dx, IDC_ALIVE_SECONDS, aliveSeconds)
        || !DDV_MinMaxUInt(&dx, aliveSeconds, kFewestPeriodSeconds, kMostPeriodSeconds))
        return;
    std::string showHours, wrong;
    hours::ShowHours readHours;
    if (!DDX_Text(&dx, IDC_SHOW_HOURS, showHours, "Show hours"))
        return;
    if (!hours::Parse(showHours, readHours, wrong))
    {
        AfxMessageBox(FormatString("The show hours cannot be read: %s.\n\nWrite ranges such as Mon-Fri 07:00-19:00; "
                                   "Sat,Sun 10:00-16:00 (days may be left out; an end before its begin runs over "
                                   "midnight). Empty: at all hours.", wrong.c_str()).c_str(), MB_ICONEXCLAMATION);
        return dx.Fail();
    }
    if (aliveFile != values.aliveFile || aliveSeconds != values.aliveSeconds)
    {
        values.aliveFile = aliveFile;
        values.aliveSeconds = aliveSeconds;
        values.aliveChanged = true;
    }
    const bool displayOn = ::IsDlgButtonChecked(m_hWnd, IDC_KEEP_DISPLAY_ON) == BST_CHECKED;
    values.keepDisplayOnChanged = values.keepDisplayOnChanged || displayOn != values.keepDisplayOn;
    values.keepDisplayOn = displayOn;
    const bool displaysOff = ::IsDlgButtonChecked(m_hWnd, IDC_OFF_HOURS_DISPLAY) == BST_CHECKED;
    values.offHoursDisplayChanged = values.offHoursDisplayChanged || displaysOff != values.offHoursDisplay;
    values.offHoursDisplay = displaysOff;
    values.showHoursChanged = values.showHoursChanged || showHours != values.showHours;
    values.showHours = showHours;
    if (url != values.heartbeatUrl || beat != PeriodSeconds(values.heartbeatSeconds))
    {
        values.heartbeatUrl = url;
        values.heartbeatSeconds = beat;
        values.heartbeatChanged = true;
    }
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

void CKeepOptionsDialog::OnBrowseAlive()
{
    // The file may not be there yet: the program writes it once it plays.
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_NOCHANGEDIR | OFN_HIDEREADONLY, "All files (*.*)|*.*||", this);
    if (dialog.DoModal() == IDOK)
        ::SetDlgItemTextA(m_hWnd, IDC_ALIVE_FILE, dialog.GetPathName().c_str());
}

void CKeepOptionsDialog::OnDestroy()
{
    tips.Destroy();
}

BOOL CKeepOptionsDialog::PreTranslateMessage(MSG* message)
{
    tips.Relay(message);
    return CDialog::PreTranslateMessage(message);
}
