#include "ui/SettingsDialog.h"

#include "framework/Handle.h"
#include "framework/WinApp.h"
#include "tests/support/DialogTemplate.h"
#include "tests/support/Registry.h"
#include "tests/support/SettingsSession.h"
#include "tests/support/WindowDriver.h"
#include "ui/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace
{
const char kZentor[] = "C:\\Suite\\Zentor\\ZENTOR.EXE";
const char kOrbx[] = "C:\\Suite\\Player\\ORBXPlayer.exe";
const char kTitle[] = "vaxo Kestrup V3.6";

class SettingsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.SetCurrentHandles(::GetModuleHandleA(nullptr));
        dialog.SetCompanions(kZentor, kOrbx);
        dialog.SetSaveAction([this](const SlotSettings& values) { saved.push_back(values); return true; });
    }
    // Only a dialog that closed through a valid OK hands anything out.
    void TearDown() override { EXPECT_TRUE(saved.empty()); }

    // Runs the dialog here while the script works it from a driver thread;
    // the script's last act should close it. Returns DoModal's result.
    INT_PTR Run(const std::function<void(SettingsSession&)>& script)
    {
        INT_PTR result = -1;
        {
            UiDriver driver([&script](DWORD uiThread) {
                SettingsSession session(uiThread);
                ASSERT_TRUE(session.Found()) << "the settings dialog did not appear";
                script(session);
            });
            result = dialog.DoModal();
        }
        return result;
    }

    void Prefill(AppType type, UINT delay, const std::string& path, const std::string& show,
                 bool kiosk, const std::string& parameter)
    {
        dialog.SetAppType(type);
        dialog.SetDelay(delay);
        dialog.SetAppPath(path);
        dialog.SetShowPath(show);
        dialog.SetKiosk(kiosk);
        dialog.SetParameter(parameter);
    }

    CWinApp app;
    CSettingsDialog dialog;
    std::vector<SlotSettings> saved;  // what OK handed out
};

TEST_F(SettingsDialogTest, WithoutPrefillDisableIsSelectedAndEverythingLocked)
{
    SettingsFields fields;
    Run([&](SettingsSession& s) {
        fields = s.Read();
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(IDC_DISABLE, fields.checkedRadio);
    EXPECT_TRUE(fields.appPathReadOnly && fields.showPathReadOnly && fields.parameterReadOnly
                && fields.delayReadOnly);
    EXPECT_FALSE(fields.browseAppEnabled || fields.browseShowEnabled || fields.kioskEnabled
                 || fields.spinEnabled);
    EXPECT_EQ("20", fields.delay);
    EXPECT_EQ("", fields.appPath + fields.showPath + fields.parameter);
    EXPECT_TRUE(fields.zentorEnabled && fields.orbxEnabled);
}

struct SelectionCase
{
    const char* name;
    int radio;
    bool appWritable, showWritable, parameterWritable, delayWritable;
    std::string appPath, showPath, parameter;
};

class SelectionTest : public SettingsDialogTest, public ::testing::WithParamInterface<SelectionCase>
{
};

// Starts from Zentor with a show file, a parameter and delay 30, then clicks.
TEST_P(SelectionTest, ClickingARadioButtonSetsLocksAndFields)
{
    const SelectionCase& row = GetParam();
    Prefill(AppType::Zentor, 30, "", "D:\\Shows\\gala.shw", false, "-p 1");
    SettingsFields fields;
    Run([&](SettingsSession& s) {
        s.Click(row.radio);
        fields = s.Read();
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(row.radio, fields.checkedRadio) << row.name;
    EXPECT_EQ(row.appWritable, !fields.appPathReadOnly) << row.name;
    EXPECT_EQ(row.appWritable, fields.browseAppEnabled) << row.name;
    EXPECT_EQ(row.showWritable, !fields.showPathReadOnly) << row.name;
    EXPECT_EQ(row.showWritable, fields.browseShowEnabled) << row.name;
    EXPECT_EQ(row.showWritable, fields.kioskEnabled) << row.name;
    EXPECT_EQ(row.parameterWritable, !fields.parameterReadOnly) << row.name;
    EXPECT_EQ(row.delayWritable, !fields.delayReadOnly) << row.name;
    EXPECT_EQ(row.delayWritable, fields.spinEnabled) << row.name;
    EXPECT_EQ(row.delayWritable, fields.keepRunningEnabled) << row.name;
    EXPECT_EQ(row.appPath, fields.appPath) << row.name;
    EXPECT_EQ(row.showPath, fields.showPath) << row.name;
    EXPECT_EQ(row.parameter, fields.parameter) << row.name;
    EXPECT_EQ("30", fields.delay) << row.name << ": no selection changes the delay";
}

INSTANTIATE_TEST_SUITE_P(
    Radios, SelectionTest,
    ::testing::Values(
        SelectionCase{"Disable", IDC_DISABLE, false, false, false, false, "", "", ""},
        SelectionCase{"Zentor", IDC_ZENTOR, false, true, true, true, kZentor, "D:\\Shows\\gala.shw",
                      "-p 1"},
        SelectionCase{"ORBX Player", IDC_ORBX_PLAYER, false, false, true, true, kOrbx, "", "-p 1"},
        SelectionCase{"User Defined", IDC_USER_DEFINED, true, false, true, true, kZentor, "",
                      "-p 1"}));

TEST_F(SettingsDialogTest, KioskStaysCheckedButLockedAfterOrbxPlayer)
{
    Prefill(AppType::Zentor, 20, "", "", true, "");
    SettingsFields before, after;
    Run([&](SettingsSession& s) {
        before = s.Read();
        s.Click(IDC_ORBX_PLAYER);
        after = s.Read();
        s.Click(IDCANCEL);
    });
    EXPECT_TRUE(before.kioskChecked) << "a stored kiosk flag is shown checked";
    EXPECT_TRUE(after.kioskChecked);
    EXPECT_FALSE(after.kioskEnabled);
}

TEST_F(SettingsDialogTest, StoredZentorWithoutZentorIsCheckedButDisabledAndRefusesOk)
{
    dialog.SetCompanions("", kOrbx);
    Prefill(AppType::Zentor, 20, "C:\\old.exe", "", false, "");
    SettingsFields fields;
    SeenBox box;
    bool stillOpen = false;
    Run([&](SettingsSession& s) {
        fields = s.Read();
        s.Click(IDOK);
        box = s.AnswerBox();
        stillOpen = ::IsWindowVisible(s.Dialog()) != 0;
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(IDC_ZENTOR, fields.checkedRadio);
    EXPECT_FALSE(fields.zentorEnabled);
    EXPECT_EQ("", fields.appPath);
    EXPECT_TRUE(fields.appPathReadOnly);
    EXPECT_EQ("No application path specified.", box.text);
    EXPECT_EQ(kTitle, box.caption);
    EXPECT_TRUE(stillOpen);
}

TEST_F(SettingsDialogTest, StoredUnknownKindSelectsDisableAndKeepsTheDelay)
{
    Prefill(static_cast<AppType>(7), 45, "C:\\x.exe", "D:\\s.shw", false, "-q");
    SettingsFields fields;
    Run([&](SettingsSession& s) {
        fields = s.Read();
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(IDC_DISABLE, fields.checkedRadio);
    EXPECT_EQ("", fields.appPath + fields.showPath + fields.parameter);
    EXPECT_EQ("45", fields.delay);
    EXPECT_TRUE(fields.delayReadOnly);
}

// A value deployed outside the dialog's range locks nobody in: it is shown as
// stored, and only a program to start needs a valid delay.
TEST_F(SettingsDialogTest, StoredDelayAbove120IsShownAndOnlyAProgramAsksForAValidOne)
{
    Prefill(AppType::UserDefined, 300, "C:\\x.exe", "", false, "");
    SettingsFields opened;
    SeenBox onOk;
    const INT_PTR result = Run([&](SettingsSession& s) {
        opened = s.Read();
        s.Click(IDOK);
        onOk = s.AnswerBox();
        s.Click(IDC_DISABLE);
        s.Click(IDOK);
    });
    EXPECT_EQ("300", opened.delay);
    EXPECT_EQ("Please enter an integer between 0 and 120.", onOk.text);
    EXPECT_EQ(IDOK, result) << "Disable saves";
    ASSERT_EQ(1u, saved.size());
    EXPECT_EQ(AppType::Disable, saved[0].appType);
    saved.clear();
}

TEST_F(SettingsDialogTest, EmptyDelayIsRefusedWithTheFocusOnIt)
{
    Prefill(AppType::UserDefined, 20, "C:\\x.exe", "", false, "");
    SeenBox box;
    HWND focus = nullptr;
    HWND delayField = nullptr;
    Run([&](SettingsSession& s) {
        s.Type(IDC_DELAY, "");
        s.Click(IDOK);
        box = s.AnswerBox();
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(s.Dialog(), nullptr), &info);
        focus = info.hwndFocus;
        delayField = ::GetDlgItem(s.Dialog(), IDC_DELAY);
        s.Click(IDCANCEL);
    });
    EXPECT_EQ("Please enter a positive integer.", box.text);
    EXPECT_EQ(delayField, focus);
}

struct RefusedField
{
    int id;
    std::string typed;  // UTF-8
    const char* message;
    DWORD characters;
};

class RefusedFieldTest : public SettingsDialogTest, public ::testing::WithParamInterface<RefusedField>
{
};

TEST_P(RefusedFieldTest, IsReportedWithTheWholeTextSelected)
{
    const RefusedField& row = GetParam();
    Prefill(AppType::UserDefined, 20, "C:\\x.exe", "", false, "");
    SeenBox box;
    HWND focus = nullptr;
    HWND field = nullptr;
    DWORD selectionEnd = 0;
    Run([&](SettingsSession& s) {
        s.Type(row.id, row.typed);
        s.Click(IDOK);
        box = s.AnswerBox();
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(s.Dialog(), nullptr), &info);
        focus = info.hwndFocus;
        field = ::GetDlgItem(s.Dialog(), row.id);
        ::SendMessageW(field, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selectionEnd));
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(row.message, box.text);
    EXPECT_EQ(field, focus);
    EXPECT_EQ(row.characters, selectionEnd) << "the whole text is selected";
}

// The test programs run in the system's ANSI code page, as the program does on
// Windows before UTF-8.
INSTANTIATE_TEST_SUITE_P(
    Fields, RefusedFieldTest,
    ::testing::Values(
        RefusedField{IDC_APP_PATH, std::string(256, 'a'), "Please enter no more than 255 characters.", 256},
        RefusedField{IDC_PARAMETER, "-show \u03a9\u4e16\u00e9.shw",
                     "\"Parameter\" holds characters that this version of Windows cannot pass on. "
                     "Please use only characters of its code page.",
                     13}));

TEST_F(SettingsDialogTest, PathFieldsStopTakingTextAt255Characters)
{
    Prefill(AppType::UserDefined, 20, "", "", false, "");
    LRESULT appLimit = 0, showLimit = 0, parameterLimit = 0;
    Run([&](SettingsSession& s) {
        appLimit = ::SendMessageA(::GetDlgItem(s.Dialog(), IDC_APP_PATH), EM_GETLIMITTEXT, 0, 0);
        showLimit = ::SendMessageA(::GetDlgItem(s.Dialog(), IDC_SHOW_PATH), EM_GETLIMITTEXT, 0, 0);
        parameterLimit =
            ::SendMessageA(::GetDlgItem(s.Dialog(), IDC_PARAMETER), EM_GETLIMITTEXT, 0, 0);
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(255, appLimit);
    EXPECT_EQ(255, showLimit);
    EXPECT_GT(parameterLimit, 255);
}

TEST_F(SettingsDialogTest, SpinRunsFrom0To120AndWrapsAround)
{
    Prefill(AppType::UserDefined, 120, "C:\\x.exe", "", false, "");
    int lower = -1, upper = -1;
    std::string afterUp, afterDown;
    Run([&](SettingsSession& s) {
        HWND spin = ::GetDlgItem(s.Dialog(), IDC_DELAY_SPIN);
        ::SendMessageA(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                       reinterpret_cast<LPARAM>(&upper));
        ::SendMessageA(spin, WM_KEYDOWN, VK_UP, 0);
        ::SendMessageA(spin, WM_KEYUP, VK_UP, 0);
        afterUp = windows::ControlText(s.Dialog(), IDC_DELAY);
        ::SendMessageA(spin, WM_KEYDOWN, VK_DOWN, 0);
        ::SendMessageA(spin, WM_KEYUP, VK_DOWN, 0);
        afterDown = windows::ControlText(s.Dialog(), IDC_DELAY);
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, lower);
    EXPECT_EQ(120, upper);
    EXPECT_EQ("0", afterUp);
    EXPECT_EQ("120", afterDown);
}

TEST_F(SettingsDialogTest, OkHandsOutTheValuesShown)
{
    Prefill(AppType::UserDefined, 20, "C:\\x.exe", "", false, "");
    dialog.SetKeepRunning(true);
    EXPECT_EQ(IDOK, Run([](SettingsSession& s) {
        s.Click(IDC_ZENTOR);
        s.Type(IDC_SHOW_PATH, "D:\\gala.shw");
        s.Type(IDC_PARAMETER, " -p");
        s.Type(IDC_DELAY, "7");
        s.Click(IDC_KIOSK);
        s.Click(IDOK);
    }));
    ASSERT_EQ(1u, saved.size());
    EXPECT_EQ(AppType::Zentor, saved[0].appType);
    EXPECT_EQ(kZentor, saved[0].appPath);
    EXPECT_EQ("D:\\gala.shw", saved[0].showPath);
    EXPECT_EQ(" -p", saved[0].parameter);
    EXPECT_EQ(1, saved[0].kiosk);
    EXPECT_EQ(7, saved[0].delay);
    EXPECT_TRUE(saved[0].keepRunning);
    saved.clear();
}

struct StoredStartAfter
{
    const char* description;
    std::optional<int> stored;
    const char* shown;
};

class StartAfterTest : public SettingsDialogTest, public ::testing::WithParamInterface<StoredStartAfter>
{
};

// Slot 1 of slots 1 and 3, with 2 the new one.
TEST_P(StartAfterTest, IsShownAsStoredAndKeptByOk)
{
    const StoredStartAfter& row = GetParam();
    SlotList list;
    list.stored = {{1, {}}, {3, {}}};
    list.stored[1].second.appType = AppType::Zentor;
    list.unused = 2;
    SlotSettings values;
    values.appType = AppType::UserDefined;
    values.appPath = "C:\\x.exe";
    values.startAfter = row.stored;
    dialog.SetSlots(1, list);
    dialog.SetValues(values);
    std::string shown;
    EXPECT_EQ(IDOK, Run([&](SettingsSession& s) {
        shown = s.Read().startAfter;
        s.Click(IDOK);
    }));
    EXPECT_EQ(row.shown, shown) << row.description;
    ASSERT_EQ(1u, saved.size());
    EXPECT_EQ(row.stored, saved[0].startAfter) << row.description;
    EXPECT_FALSE(saved[0].startAfterChanged) << row.description << ": OK stores what nobody touched";
    saved.clear();
}

INSTANTIATE_TEST_SUITE_P(Stored, StartAfterTest,
                         ::testing::Values(StoredStartAfter{"none", std::nullopt, "(no other slot)"},
                                           StoredStartAfter{"a listed slot", 3, "3: Zentor"},
                                           StoredStartAfter{"a slot not listed", 7, "slot 7 (not stored)"}));

TEST_F(SettingsDialogTest, ToolTipsCoverTheElevenControls)
{
    LRESULT tools = 0;
    std::string disableTip;
    Run([&](SettingsSession& s) {
        HWND tip = windows::WaitFor([&](HWND w) {
            return windows::ClassName(w) == TOOLTIPS_CLASSA
                   && ::GetWindow(w, GW_OWNER) == s.Dialog();
        }, 5000);
        if (tip != nullptr)
        {
            tools = ::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0);
            char text[128] = "";
            TOOLINFOA info = {};
            info.cbSize = sizeof(info);
            info.hwnd = s.Dialog();
            info.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(s.Dialog(), IDC_DISABLE));
            info.lpszText = text;
            ::SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
            disableTip = text;
        }
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(11, tools);
    EXPECT_EQ("Disable autostart", disableTip);
}

TEST_F(SettingsDialogTest, WindowCarriesTheIconAndAWhiteBackground)
{
    HICON big = nullptr, small = nullptr;
    HBRUSH dialogBrush = nullptr, staticBrush = nullptr;
    COLORREF staticBackground = 0;
    Run([&](SettingsSession& s) {
        big = reinterpret_cast<HICON>(::SendMessageA(s.Dialog(), WM_GETICON, ICON_BIG, 0));
        small = reinterpret_cast<HICON>(::SendMessageA(s.Dialog(), WM_GETICON, ICON_SMALL, 0));
        HDC dc = ::CreateCompatibleDC(nullptr);
        dialogBrush = reinterpret_cast<HBRUSH>(::SendMessageA(
            s.Dialog(), WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(s.Dialog())));
        staticBrush = reinterpret_cast<HBRUSH>(::SendMessageA(
            s.Dialog(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
            reinterpret_cast<LPARAM>(::GetDlgItem(s.Dialog(), IDC_KIOSK))));
        staticBackground = ::GetBkColor(dc);
        ::DeleteDC(dc);
        s.Click(IDCANCEL);
    });
    for (const auto& [icon, metric] : {std::pair{big, SM_CXICON}, std::pair{small, SM_CXSMICON}})
    {
        ICONINFO info = {};
        ASSERT_TRUE(::GetIconInfo(icon, &info)) << "metric " << metric;
        const CGdiObjectT<HBITMAP> mask(info.hbmMask), colour(info.hbmColor);
        BITMAP shape = {};
        ::GetObjectA(mask.get(), sizeof(shape), &shape);
        EXPECT_EQ(::GetSystemMetrics(metric), shape.bmWidth) << "the icon at the size its place asks for";
    }
    LOGBRUSH colour = {};
    ASSERT_NE(0, ::GetObjectA(dialogBrush, sizeof(colour), &colour));
    EXPECT_EQ(RGB(255, 255, 255), colour.lbColor);
    EXPECT_EQ(dialogBrush, staticBrush);
    EXPECT_EQ(RGB(255, 255, 255), staticBackground);
}

TEST(SettingsTemplateTest, MatchesTheSettingsLayout)
{
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(IDD_SETTINGS, dialog));
    EXPECT_EQ(0x90C800C8u, dialog.style);
    EXPECT_EQ(0x00040000u, dialog.exStyle);
    EXPECT_EQ(271, dialog.cx);
    EXPECT_EQ(270, dialog.cy);
    EXPECT_EQ(kTitle, dialog.caption);
    EXPECT_EQ("MS Shell Dlg", dialog.typeface);
    EXPECT_EQ(8, dialog.pointSize);

    // style, extended style, x, y, width, height, id, class, text
    ExpectTemplateItems(dialog, {
        {0x50000007, 0, 6, 45, 258, 72, -1, "Button", "Autostart"},
        {0x50020009, 0, 107, 66, 39, 10, 1002, "Button", "Disable"},
        {0x50000009, 0, 107, 78, 55, 10, 1000, "Button", "Zentor"},
        {0x50000009, 0, 107, 90, 57, 10, 1001, "Button", "ORBX Player"},
        {0x50000009, 0, 107, 102, 57, 10, 1003, "Button", "User Defined"},
        {0x50000007, 0, 6, 122, 258, 120, -1, "Button", "Options"},
        {0x50020000, 0, 18, 143, 52, 8, -1, "Static", "Application Path"},
        {0x50810480, 0, 72, 140, 156, 14, 1004, "Edit", ""},
        {0x50010000, 0, 234, 140, 19, 14, 1005, "Button", "..."},
        {0x50020000, 0, 18, 161, 31, 8, -1, "Static", "Show File"},
        {0x50810480, 0, 72, 158, 156, 14, 1009, "Edit", ""},
        {0x50010000, 0, 234, 158, 19, 14, 1010, "Button", "..."},
        {0x50020000, 0, 18, 178, 34, 8, -1, "Static", "Parameter"},
        {0x50810480, 0, 72, 176, 156, 14, 1011, "Edit", ""},
        {0x50010023, 0, 18, 194, 62, 10, 1006, "Button", "Kiosk Mode"},
        {0x50010003, 0, 120, 194, 120, 10, 1012, "Button", "Start again when it ends"},
        {0x50020000, 0, 18, 215, 44, 8, -1, "Static", "Launch Delay"},
        {0x50812082, 0, 72, 213, 33, 14, 1007, "Edit", ""},
        {0x500001B7, 0, 106, 213, 11, 13, 1008, "msctls_updown32", ""},
        {0x50020000, 0, 108, 215, 12, 8, -1, "Static", "sec"},
        {0x50010000, 0, 200, 212, 56, 14, 1014, "Button", "O&ptions..."},
        {0x50010001, 0, 78, 249, 50, 16, 1, "Button", "OK"},
        {0x50010000, 0, 144, 249, 50, 16, 2, "Button", "Cancel"},
        {0x50020000, 0, 6, 253, 16, 8, -1, "Static", "&Slot"},
        {0x50210003, 0, 22, 250, 52, 80, 1015, "ComboBox", ""},
        {0x50020000, 0, 190, 80, 52, 8, -1, "Static", "Start &after"},
        {0x50210003, 0, 190, 90, 52, 80, 1016, "ComboBox", ""},
        {0x50020000, 0, 44, 55, 182, 8, -1, "Static", "Please select an application to launch on system startup:"},
        {0x5000000E, 0, 0, 0, 271, 92, -1, "Static", "#134"},
    });
}
} // namespace

namespace
{
// The open-file dialog of the settings' thread, its file name field and its
// first file type.
struct OpenDialog
{
    HWND window = nullptr;
    HWND fileName = nullptr;
    std::string firstFilter;
};

BOOL CALLBACK FindFileNameField(HWND child, LPARAM context)
{
    OpenDialog* open = reinterpret_cast<OpenDialog*>(context);
    if (open->fileName == nullptr && windows::ClassName(child) == "Edit" && ::IsWindowVisible(child))
        open->fileName = child;
    if (open->firstFilter.empty() && windows::ClassName(child) == "ComboBox"
        && ::GetDlgCtrlID(child) == 0x470 /* cmb1, the file types */)
    {
        char text[256] = "";
        ::SendMessageA(child, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
        open->firstFilter = text;
    }
    return TRUE;
}

OpenDialog WaitForOpenDialog(HWND owner)
{
    OpenDialog open;
    open.window = windows::WaitFor([owner](HWND w) {
        return windows::IsVisibleDialog(w) && ::GetWindow(w, GW_OWNER) == owner;
    }, 20000);
    if (open.window != nullptr)
        ::EnumChildWindows(open.window, FindFileNameField, reinterpret_cast<LPARAM>(&open));
    return open;
}
} // namespace

TEST_F(SettingsDialogTest, BrowsingFillsTheApplicationPathAndKeepsTheOtherFields)
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string chosen = std::string(temp) + "kestrup-browse.exe";
    CFileHandle(::CreateFileA(chosen.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    Prefill(AppType::UserDefined, 42, "C:\\before.exe", "", false, "-p");
    OpenDialog open;
    SettingsFields fields;
    Run([&](SettingsSession& s) {
        ::PostMessageA(::GetDlgItem(s.Dialog(), IDC_BROWSE_APP), BM_CLICK, 0, 0);
        open = WaitForOpenDialog(s.Dialog());
        if (open.window == nullptr || open.fileName == nullptr)
            return;
        ::SendMessageA(open.fileName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
        windows::Press(open.window, IDOK);
        for (int i = 0; i < 250 && ::IsWindow(open.window); ++i)
            ::Sleep(20);
        fields = s.Read();
        s.Click(IDCANCEL);
    });
    ::DeleteFileA(chosen.c_str());

    ASSERT_NE(nullptr, open.window) << "no open-file dialog";
    EXPECT_EQ("Executeable Files", open.firstFilter);
    EXPECT_EQ(0, _stricmp(chosen.c_str(), fields.appPath.c_str())) << fields.appPath;
    EXPECT_EQ("-p", fields.parameter);
    EXPECT_EQ("42", fields.delay);
}

TEST_F(SettingsDialogTest, CancelledBrowsingChangesNothing)
{
    Prefill(AppType::Zentor, 20, "", "D:\\old.shw", false, "");
    OpenDialog open;
    SettingsFields fields;
    Run([&](SettingsSession& s) {
        ::PostMessageA(::GetDlgItem(s.Dialog(), IDC_BROWSE_SHOW), BM_CLICK, 0, 0);
        open = WaitForOpenDialog(s.Dialog());
        if (open.window != nullptr)
            windows::Press(open.window, IDCANCEL);
        for (int i = 0; i < 250 && open.window != nullptr && ::IsWindow(open.window); ++i)
            ::Sleep(20);
        fields = s.Read();
        s.Click(IDCANCEL);
    });
    ASSERT_NE(nullptr, open.window) << "no open-file dialog";
    EXPECT_EQ("Show FIle (*.shw)", open.firstFilter);
    EXPECT_EQ("D:\\old.shw", fields.showPath);
    EXPECT_EQ(kZentor, fields.appPath);
}
