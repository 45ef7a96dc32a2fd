#include "ui/KeepOptionsDialog.h"

#include "framework/DataExchange.h"
#include "framework/FileDialog.h"
#include "framework/MessageBox.h"
#include "framework/Monitors.h"
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

// The check boxes that stand for one value each.
const struct
{
    int id;
    bool SlotSettings::*value, SlotSettings::*changed;
} kChecks[] = {{IDC_KEEP_DISPLAY_ON, &SlotSettings::keepDisplayOn, &SlotSettings::keepDisplayOnChanged},
               {IDC_OFF_HOURS_DISPLAY, &SlotSettings::offHoursDisplay, &SlotSettings::offHoursDisplayChanged},
               {IDC_HIDE_CURSOR, &SlotSettings::hideCursor, &SlotSettings::hideCursorChanged}};

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
    ON_BN_CLICKED(IDC_BROWSE_COVER, OnBrowseCover)
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
    DDX_Control(dx, IDC_MONITOR, monitorList);
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
        DDX_Text(dx, IDC_SHOW_HOURS, values.showHours);
        for (const auto& check : kChecks)
            ::CheckDlgButton(m_hWnd, check.id, values.*check.value ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(m_hWnd, IDC_COVER, values.cover ? BST_CHECKED : BST_UNCHECKED);
        DDX_Text(dx, IDC_COVER_PICTURE, values.coverPicture);
        ListMonitors();
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
    std::string picture;
    DDX_Text(&dx, IDC_COVER_PICTURE, picture);
    const bool cover = ::IsDlgButtonChecked(m_hWnd, IDC_COVER) == BST_CHECKED;
    values.coverChanged = values.coverChanged || cover != values.cover || picture != values.coverPicture;
    values.cover = cover;
    values.coverPicture = picture;
    const int chosen = monitorList.GetCurSel();
    const int monitor = chosen >= 0 ? static_cast<int>(monitorList.GetItemData(chosen)) : values.monitor;
    values.monitorChanged = values.monitorChanged || monitor != values.monitor;
    values.monitor = monitor;
    for (const auto& check : kChecks)
    {
        const bool checked = ::IsDlgButtonChecked(m_hWnd, check.id) == BST_CHECKED;
        values.*check.changed = values.*check.changed || checked != values.*check.value;
        values.*check.value = checked;
    }
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

void CKeepOptionsDialog::OnBrowseCover()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       "Pictures (*.bmp;*.jpg;*.jpeg;*.png)|*.bmp;*.jpg;*.jpeg;*.png|All files (*.*)|*.*||", this);
    if (dialog.DoModal() == IDOK)
        ::SetDlgItemTextA(m_hWnd, IDC_COVER_PICTURE, dialog.GetPathName().c_str());
}

void CKeepOptionsDialog::ListMonitors()
{
    monitorList.ResetContent();
    monitorList.SetItemData(monitorList.AddString("Primary monitor"), 0);
    bool storedThere = values.monitor == 0;
    for (const MonitorArea& monitor : ::ListMonitors())
    {
        const std::string text =
            FormatString("Display %d: %ld x %ld%s", monitor.number, monitor.rect.right - monitor.rect.left,
                         monitor.rect.bottom - monitor.rect.top, monitor.primary ? ", primary" : "");
        monitorList.SetItemData(monitorList.AddString(text.c_str()), static_cast<DWORD_PTR>(monitor.number));
        storedThere = storedThere || monitor.number == values.monitor;
    }
    if (!storedThere)
    {
        const std::string text = FormatString("Display %d: not there now", values.monitor);
        monitorList.SetItemData(monitorList.AddString(text.c_str()), static_cast<DWORD_PTR>(values.monitor));
    }
    for (int index = 0; index < monitorList.GetCount(); ++index)
        if (static_cast<int>(monitorList.GetItemData(index)) == values.monitor)
            monitorList.SetCurSel(index);
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
