#pragma once

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "settings/SlotSettings.h"
#include "ui/Banner.h"
#include "ui/ControlTips.h"
#include "ui/SlotLists.h"
#include "ui/WindowIcons.h"

#include <functional>
#include <optional>
#include <string>

// The window of configuration mode: what to start at logon, and how, for one
// slot at a time. The checked radio button is the only record of the kind
// while it runs. OK hands the values to the save action, then closes the
// dialog whatever it did. Choosing another slot (a click or Enter in the open
// slot list, or a change of the closed list's selection) loads it through the
// load action, after asking about changes not yet saved; moving through the
// open list chooses nothing.
class CSettingsDialog : public CDialog
{
public:
    // True when the values were saved.
    using SaveAction = std::function<bool(const SlotSettings&)>;
    using LoadAction = std::function<SlotSettings(int slot)>;

    explicit CSettingsDialog(CWnd* parent = nullptr);
    ~CSettingsDialog() override;

    // The suite's programs this PC has; an empty path greys out its choice.
    void SetCompanions(const std::string& zentorPath, const std::string& orbxPlayerPath);
    void SetSaveAction(SaveAction action) { saveAction = std::move(action); }
    void SetLoadAction(LoadAction action) { loadAction = std::move(action); }
    // The slots to choose from and the one shown; an open window lists them
    // anew.
    void SetSlots(int shown, const SlotList& list);
    // A slot's values as they are shown: one set to Disable shows nothing of
    // what it holds.
    void SetValues(const SlotSettings& values);

    void SetAppType(AppType type);
    void SetDelay(UINT seconds);
    void SetAppPath(const std::string& path);
    void SetShowPath(const std::string& path);
    void SetKiosk(bool on);
    void SetParameter(const std::string& text);
    void SetKeepRunning(bool on) { keepRunning = on; }
    // The keeping's options as stored (see CKeepOptionsDialog).
    void SetKeepOptions(const SlotSettings& stored)
    {
        keepOptions = stored;
    }

    // What the save reads back.
    bool IsDisableChecked() const { return disableRadio.GetCheck() == BST_CHECKED; }
    bool IsZentorChecked() const { return zentorRadio.GetCheck() == BST_CHECKED; }
    bool IsOrbxPlayerChecked() const { return orbxPlayerRadio.GetCheck() == BST_CHECKED; }
    bool IsUserDefinedChecked() const { return userDefinedRadio.GetCheck() == BST_CHECKED; }
    bool IsKioskChecked() const { return kioskCheck.GetCheck() == BST_CHECKED; }
    bool IsKeepRunningChecked() const { return keepRunningCheck.GetCheck() == BST_CHECKED; }
    std::string GetAppPath();
    std::string GetShowPath();
    std::string GetParameter();
    UINT GetDelay();
    // Everything at once, as the save stores it.
    SlotSettings GetSettings();

    BOOL PreTranslateMessage(MSG* message) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBrowseApp();
    void OnBrowseShow();
    void OnUserDefined();
    void OnZentor();
    void OnOrbxPlayer();
    void OnDisable();
    void OnKeepRunning();
    void OnKeepOptions();
    void OnSlotSelChange();
    void OnSlotSelEndOk();
    void OnSlotSelEndCancel();
    void OnSlotCloseUp();
    void OnSlotChosen();
    HBRUSH OnCtlColor(HDC dc, HWND window, UINT ctlColor);
    void OnDestroy();
    void OnDpiChanged(UINT dpi);
    void OnColoursChanged();

    void EnableAppPath(bool enable);
    void EnableShowFile(bool enable);
    void EnableDelay(bool enable);

    DECLARE_MESSAGE_MAP()

    CWindowIcons icons;
    CBanner banner;
    CControlTips tips;
    std::string appPath;
    UINT delay = 20;
    std::string showPath;
    std::string parameter;
    CEdit appPathEdit;
    CEdit showPathEdit;
    CEdit parameterEdit;
    CButton browseAppButton;
    CButton zentorRadio;
    CButton orbxPlayerRadio;
    CButton disableRadio;
    CButton userDefinedRadio;
    CButton kioskCheck;
    CButton keepRunningCheck;
    CButton keepOptionsButton;
    SlotSettings keepOptions;
    CButton browseShowButton;
    CEdit delayEdit;
    CSpinButtonCtrl delaySpin;
    CSlotLists slotLists;
    // The slot the one shown starts after, as loaded.
    std::optional<int> startAfter;
    bool kiosk = false;
    bool keepRunning = false;
    AppType appType = AppType::Disable;
    int slot = 0;

private:
    void Select(AppType selection);
    // Puts the held values (but the texts DoDataExchange puts), the slot list
    // and the title on the open window.
    void ShowValues();
    // The Start after list selects the slot given.
    void ListSlots(std::optional<int> selectedStartAfter);
    std::optional<int> ChosenStartAfter() const { return slotLists.ChosenStartAfter(startAfter); }
    std::wstring Shown() const;
    // The checks of OK, each refusal shown.
    bool ShownIsValid();
    bool Checks(CDataExchange* dx, int id) const;
    void Browse(const char* filter, std::string& path);

    std::string zentorPath;
    std::string orbxPlayerPath;
    SaveAction saveAction;
    LoadAction loadAction;
    SlotList slots;
    // What the fields showed when the slot was loaded.
    std::wstring loaded;
};
