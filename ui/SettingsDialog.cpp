#include "ui/SettingsDialog.h"

#include "framework/DataExchange.h"
#include "framework/Dpi.h"
#include "framework/FileDialog.h"
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "framework/StringFormat.h"
#include "ui/Colours.h"
#include "ui/KeepOptionsDialog.h"
#include "ui/TextRoom.h"
#include "ui/resource.h"

#include <utility>


namespace
{
constexpr int kMaxPathChars = 255;
constexpr UINT kMaxDelay = 120;

const char kApplicationFilter[] = "Executeable Files|*.exe;*.com;*.bat;*.cmd|All Files (*.*)|*.*||";
const char kShowFileFilter[] = "Show FIle (*.shw)|*.shw|All Files (*.*)|*.*||";
} // namespace

BEGIN_MESSAGE_MAP(CSettingsDialog, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_BROWSE_APP, OnBrowseApp)
    ON_BN_CLICKED(IDC_BROWSE_SHOW, OnBrowseShow)
    ON_BN_CLICKED(IDC_USER_DEFINED, OnUserDefined)
    ON_BN_CLICKED(IDC_ZENTOR, OnZentor)
    ON_BN_CLICKED(IDC_ORBX_PLAYER, OnOrbxPlayer)
    ON_BN_CLICKED(IDC_DISABLE, OnDisable)
    ON_BN_CLICKED(IDC_KEEP_RUNNING, OnKeepRunning)
    ON_BN_CLICKED(IDC_KEEP_OPTIONS, OnKeepOptions)
    ON_CBN_SELCHANGE(IDC_SLOT, OnSlotSelChange)
    ON_CBN_SELENDOK(IDC_SLOT, OnSlotSelEndOk)
    ON_CBN_SELENDCANCEL(IDC_SLOT, OnSlotSelEndCancel)
    ON_CBN_CLOSEUP(IDC_SLOT, OnSlotCloseUp)
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
    ON_WM_DPICHANGED()
    ON_COLOURS_CHANGED()
END_MESSAGE_MAP()

CSettingsDialog::CSettingsDialog(CWnd* parent) : CDialog(IDD_SETTINGS, parent)
{
}

CSettingsDialog::~CSettingsDialog() = default;

void CSettingsDialog::SetCompanions(const std::string& zentor, const std::string& orbxPlayer)
{
    zentorPath = zentor;
    orbxPlayerPath = orbxPlayer;
}

void CSettingsDialog::SetSlots(int shown, const SlotList& list)
{
    slot = shown;
    slots = list;
    if (IsWindow())
        ListSlots(ChosenStartAfter());
}

void CSettingsDialog::SetValues(const SlotSettings& values)
{
    SlotSettings shown;
    shown.delay = 20;
    if (values.appType != AppType::Disable)
        shown = values;
    appType = shown.appType;
    delay = static_cast<UINT>(shown.delay);
    appPath = shown.appPath;
    showPath = shown.showPath;
    parameter = shown.parameter;
    kiosk = shown.kiosk == 1;
    keepRunning = shown.keepRunning;
    startAfter = shown.startAfter;
    SetKeepOptions(values);
    if (IsWindow())
    {
        UpdateData(FALSE);
        ShowValues();
    }
}

void CSettingsDialog::SetAppType(AppType type)
{
    appType = type;
}

void CSettingsDialog::SetDelay(UINT seconds)
{
    delay = seconds;
    if (IsWindow())
        UpdateData(FALSE);
}

void CSettingsDialog::SetAppPath(const std::string& path)
{
    appPath = path;
    if (IsWindow())
        UpdateData(FALSE);
}

void CSettingsDialog::SetShowPath(const std::string& path)
{
    showPath = path;
    if (IsWindow())
        UpdateData(FALSE);
}

void CSettingsDialog::SetParameter(const std::string& text)
{
    parameter = text;
    if (IsWindow())
        UpdateData(FALSE);
}

void CSettingsDialog::SetKiosk(bool on)
{
    kiosk = on;
    if (IsWindow())
        kioskCheck.SetCheck(on ? BST_CHECKED : BST_UNCHECKED);
}

std::string CSettingsDialog::GetAppPath()
{
    UpdateData(TRUE);
    return appPath;
}

std::string CSettingsDialog::GetShowPath()
{
    UpdateData(TRUE);
    return showPath;
}

std::string CSettingsDialog::GetParameter()
{
    UpdateData(TRUE);
    return parameter;
}

UINT CSettingsDialog::GetDelay()
{
    UpdateData(TRUE);
    return delay;
}

SlotSettings CSettingsDialog::GetSettings()
{
    // The keeping's options as stored, or as changed there.
    SlotSettings values = keepOptions;
    values.appType = IsUserDefinedChecked()   ? AppType::UserDefined
                     : IsOrbxPlayerChecked() ? AppType::OrbxPlayer
                     : IsZentorChecked()     ? AppType::Zentor
                                             : AppType::Disable;
    values.appPath = GetAppPath();
    values.showPath = GetShowPath();
    values.parameter = GetParameter();
    values.kiosk = IsKioskChecked() ? 1 : 0;
    values.delay = static_cast<int>(GetDelay());
    values.keepRunning = IsKeepRunningChecked();
    values.startAfter = ChosenStartAfter();
    values.startAfterChanged = values.startAfter != startAfter;
    return values;
}

// Read back, a field locked for the current choice is taken as it stands
// (a stored value the checks would refuse, say), never refused.
bool CSettingsDialog::Checks(CDataExchange* dx, int id) const
{
    return !dx->m_bSaveAndValidate || (::GetWindowLongA(GetDlgItem(id), GWL_STYLE) & ES_READONLY) == 0;
}

void CSettingsDialog::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_APP_PATH, appPath, "\"Application Path\"");
    if (Checks(dx, IDC_APP_PATH))
        DDV_MaxChars(dx, appPath, kMaxPathChars);
    if (Checks(dx, IDC_DELAY))
    {
        DDX_Text(dx, IDC_DELAY, delay);
        DDV_MinMaxUInt(dx, delay, 0, kMaxDelay);
    }
    DDX_Text(dx, IDC_SHOW_PATH, showPath, "\"Show File\"");
    if (Checks(dx, IDC_SHOW_PATH))
        DDV_MaxChars(dx, showPath, kMaxPathChars);
    DDX_Text(dx, IDC_PARAMETER, parameter, "\"Parameter\"");
    DDX_Control(dx, IDC_APP_PATH, appPathEdit);
    DDX_Control(dx, IDC_BROWSE_APP, browseAppButton);
    DDX_Control(dx, IDC_ZENTOR, zentorRadio);
    DDX_Control(dx, IDC_ORBX_PLAYER, orbxPlayerRadio);
    DDX_Control(dx, IDC_DISABLE, disableRadio);
    DDX_Control(dx, IDC_USER_DEFINED, userDefinedRadio);
    DDX_Control(dx, IDC_KIOSK, kioskCheck);
    DDX_Control(dx, IDC_KEEP_RUNNING, keepRunningCheck);
    DDX_Control(dx, IDC_KEEP_OPTIONS, keepOptionsButton);
    DDX_Control(dx, IDC_SHOW_PATH, showPathEdit);
    DDX_Control(dx, IDC_BROWSE_SHOW, browseShowButton);
    DDX_Control(dx, IDC_PARAMETER, parameterEdit);
    DDX_Control(dx, IDC_DELAY, delayEdit);
    DDX_Control(dx, IDC_DELAY_SPIN, delaySpin);
    DDX_Control(dx, IDC_SLOT, slotLists.SlotBox());
    DDX_Control(dx, IDC_START_AFTER, slotLists.StartAfterBox());
}

BOOL CSettingsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    icons.Show(m_hWnd, WindowDpi(m_hWnd));
    banner.Attach(m_hWnd, IDB_SETTINGS_BANNER);
    banner.ScaleTo(DialogScale(m_hWnd));

    tips.Create(this, {IDC_DISABLE, IDC_ORBX_PLAYER, IDC_ZENTOR, IDC_USER_DEFINED, IDC_KIOSK, IDC_KEEP_RUNNING,
                       IDC_KEEP_OPTIONS, IDC_BROWSE_APP, IDC_BROWSE_SHOW, IDC_SLOT, IDC_START_AFTER});
    zentorRadio.EnableWindow(!zentorPath.empty());
    orbxPlayerRadio.EnableWindow(!orbxPlayerPath.empty());
    delaySpin.SetRange(0, kMaxDelay);
    FitTexts(m_hWnd);
    ShowValues();
    return TRUE;
}

void CSettingsDialog::ShowValues()
{
    kioskCheck.SetCheck(kiosk ? BST_CHECKED : BST_UNCHECKED);
    keepRunningCheck.SetCheck(keepRunning ? BST_CHECKED : BST_UNCHECKED);
    // A radio button checked by a message leaves the others as they were.
    for (CButton* radio : {&disableRadio, &zentorRadio, &orbxPlayerRadio, &userDefinedRadio})
        radio->SetCheck(BST_UNCHECKED);
    switch (appType)
    {
    case AppType::Zentor:
    case AppType::OrbxPlayer:
    case AppType::UserDefined: Select(appType); break;
    default: Select(AppType::Disable); break;
    }
    // The template's caption is slot 0's; a caption set anew redraws the frame.
    if (slot != 0 || !loaded.empty())
    {
        const std::string title = ResourceString(IDS_APP_TITLE);
        SetWindowText(slot == 0 ? title.c_str() : FormatString("%s - slot %d", title.c_str(), slot).c_str());
    }
    ListSlots(startAfter);
    loaded = Shown();
}

void CSettingsDialog::ListSlots(std::optional<int> selectedStartAfter)
{
    slotLists.List(slots, slot, selectedStartAfter);
}

std::wstring CSettingsDialog::Shown() const
{
    std::wstring shown;
    for (int id : {IDC_APP_PATH, IDC_SHOW_PATH, IDC_PARAMETER, IDC_DELAY})
    {
        const HWND field = GetDlgItem(id);
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(field)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
        shown += text + L'\n';
    }
    for (int id : {IDC_DISABLE, IDC_ZENTOR, IDC_ORBX_PLAYER, IDC_USER_DEFINED, IDC_KIOSK, IDC_KEEP_RUNNING})
        shown += ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED ? L'1' : L'0';
    return shown + static_cast<wchar_t>(0x100 + slotLists.StartAfterIndex());
}

void CSettingsDialog::OnSlotSelChange()
{
    if (slotLists.ChoiceBySelChange())
        OnSlotChosen();
}

void CSettingsDialog::OnSlotSelEndOk()
{
    if (slotLists.ChoiceBySelEndOk())
        OnSlotChosen();
}

void CSettingsDialog::OnSlotCloseUp()
{
    if (slotLists.ChoiceByCloseUp())
        OnSlotChosen();
}

// Esc, or leaving the open list: the list shows the slot shown again.
void CSettingsDialog::OnSlotSelEndCancel()
{
    slotLists.CancelChoice(slot);
}

void CSettingsDialog::OnSlotChosen()
{
    const int chosen = slotLists.ChosenSlot(slot);
    if (chosen == slot)
        return;
    if (Shown() != loaded || KeepOptionsChanged(keepOptions))
    {
        const int answer = AfxMessageBox(FormatString("Save the changes to slot %d?", slot).c_str(),
                                         MB_YESNOCANCEL | MB_ICONQUESTION);
        // A refused save stays on the slot, as a refused OK stays open.
        const bool saved = answer == IDYES && ShownIsValid() && (!saveAction || saveAction(GetSettings()));
        if (answer == IDCANCEL || (answer == IDYES && !saved))
        {
            ListSlots(ChosenStartAfter());
            return;
        }
    }
    slot = chosen;
    SetValues(loadAction ? loadAction(chosen) : SlotSettings());
}

void CSettingsDialog::EnableAppPath(bool enable)
{
    appPathEdit.SetReadOnly(!enable);
    browseAppButton.EnableWindow(enable);
}

void CSettingsDialog::EnableShowFile(bool enable)
{
    showPathEdit.SetReadOnly(!enable);
    kioskCheck.EnableWindow(enable);
    browseShowButton.EnableWindow(enable);
}

void CSettingsDialog::EnableDelay(bool enable)
{
    delayEdit.SetReadOnly(!enable);
    delaySpin.EnableWindow(enable);
}

void CSettingsDialog::Select(AppType selection)
{
    EnableAppPath(selection == AppType::UserDefined);
    EnableShowFile(selection == AppType::Zentor);
    CButton& own = selection == AppType::Disable  ? disableRadio
                   : selection == AppType::Zentor ? zentorRadio
                   : selection == AppType::OrbxPlayer ? orbxPlayerRadio
                                                      : userDefinedRadio;
    own.SetCheck(BST_CHECKED);
    parameterEdit.SetReadOnly(selection == AppType::Disable);
    EnableDelay(selection != AppType::Disable);
    keepRunningCheck.EnableWindow(selection != AppType::Disable);
    OnKeepRunning();

    // Only the fields the choice fills or empties change, and nothing is
    // checked: whatever the others hold, typed or stored, stays.
    switch (selection)
    {
    case AppType::Disable:
        appPathEdit.SetWindowText("");
        showPathEdit.SetWindowText("");
        parameterEdit.SetWindowText("");
        break;
    case AppType::Zentor:
        appPathEdit.SetWindowText(zentorPath.c_str());
        break;
    case AppType::OrbxPlayer:
        appPathEdit.SetWindowText(orbxPlayerPath.c_str());
        showPathEdit.SetWindowText("");
        break;
    case AppType::UserDefined:
        showPathEdit.SetWindowText("");
        break;
    }
}

void CSettingsDialog::OnDisable()
{
    Select(AppType::Disable);
}

void CSettingsDialog::OnZentor()
{
    Select(AppType::Zentor);
}

void CSettingsDialog::OnOrbxPlayer()
{
    Select(AppType::OrbxPlayer);
}

void CSettingsDialog::OnUserDefined()
{
    Select(AppType::UserDefined);
}

void CSettingsDialog::OnKeepRunning()
{
    keepOptionsButton.EnableWindow(::IsWindowEnabled(keepRunningCheck.GetSafeHwnd()) && IsKeepRunningChecked());
}

void CSettingsDialog::OnKeepOptions()
{
    CKeepOptionsDialog options(keepOptions, this);
    if (options.DoModal() == IDOK)
        keepOptions = options.Values();
}

bool CSettingsDialog::ShownIsValid()
{
    if (!UpdateData(TRUE))
        return false;
    if (appPath.empty() && !IsDisableChecked())
    {
        AfxMessageBox("No application path specified.", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return true;
}

void CSettingsDialog::OnOK()
{
    if (!ShownIsValid())
        return;
    if (saveAction)
        saveAction(GetSettings());
    CDialog::OnOK();
}

void CSettingsDialog::Browse(const char* filter, std::string& path)
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR, filter, this);
    if (dialog.DoModal() != IDOK)
        return;
    UpdateData(TRUE);
    path = dialog.GetPathName();
    UpdateData(FALSE);
}

void CSettingsDialog::OnBrowseApp()
{
    Browse(kApplicationFilter, appPath);
}

void CSettingsDialog::OnBrowseShow()
{
    Browse(kShowFileFilter, showPath);
}

// The tooltip goes with the dialog, destroyed exactly once.
void CSettingsDialog::OnDestroy()
{
    tips.Destroy();
}

BOOL CSettingsDialog::PreTranslateMessage(MSG* message)
{
    tips.Relay(message);
    return CDialog::PreTranslateMessage(message);
}

HBRUSH CSettingsDialog::OnCtlColor(HDC dc, HWND window, UINT ctlColor)
{
    HBRUSH brush = CDialog::OnCtlColor(dc, window, ctlColor);
    if (window == m_hWnd && ctlColor == CTLCOLOR_DLG)
        return WindowGround();
    if (ctlColor == CTLCOLOR_STATIC || ctlColor == CTLCOLOR_BTN)
        return LabelColours(dc, window);
    return brush;
}

void CSettingsDialog::OnDpiChanged(UINT dpi)
{
    icons.Show(m_hWnd, dpi);
    banner.ScaleTo(DpiScale(dpi));
    FitTexts(m_hWnd);
    slotLists.FitEntries();
}

void CSettingsDialog::OnColoursChanged()
{
    RepaintInNewColours(m_hWnd);
}

void CSettingsDialog::OnPaint()
{
    if (!IsIconic())
    {
        Default();
        return;
    }
    CPaintDC dc(this);
    icons.PaintMinimized(m_hWnd, dc.m_hDC);
}

HCURSOR CSettingsDialog::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(icons.Big());
}
