#include "tests/support/Probe.h"
#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/SettingsSession.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowDriver.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

namespace
{
// Typed in the settings, kept through the registry and handed to the program
// (the tool runs in UTF-8; started.commandLine is in UTF-8).
const std::string kAnyScript = "-show \u03a9\u4e16\u00e9.shw";

class ConfigurationEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override { testreg::RemoveSettings(0); }
    void TearDown() override { for (int slot : {0, 1, -4}) testreg::RemoveSettings(slot); }

    TempFolder temp{"configure-e2e"};
};

TEST_F(ConfigurationEndToEndTest, SavedSlotIsRegisteredAndItsRunValueStartsTheProgram)
{
    const std::string program = temp.MakeFolder("user tools") + "\\probe.exe";
    InstallProbe(program);
    const std::string record = temp.Path() + "record.txt";
    ExpectProbeRecordAt(record);

    DWORD processId = 0;
    const CKernelHandle process = StartProcess("\"" + KestrupExePath() + "\"", &processId);
    ASSERT_TRUE(process);
    SeenBox saved;
    {
        SettingsSession s(processId, true);
        if (s.Found())
        {
            s.Click(IDC_USER_DEFINED);
            s.Type(IDC_APP_PATH, "\"" + AsUtf8(program) + "\"");  // as Explorer copies a path
            s.Type(IDC_PARAMETER, kAnyScript);
            s.Type(IDC_DELAY, "1");
            s.Click(IDOK);
            saved = s.AnswerBox();
            EXPECT_EQ(s.Dialog(), saved.owner) << "the success box belongs to the dialog";
        }
        EXPECT_TRUE(s.Found()) << "the settings dialog did not appear";
    }
    const bool ended = ::WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0;
    if (!ended)
        ::TerminateProcess(process.get(), 1);
    EXPECT_TRUE(ended);
    EXPECT_EQ("Settings successfully saved.", saved.text);
    EXPECT_EQ("vaxo Kestrup V3.6", saved.caption);

    DWORD type = 0;
    std::string runValue;
    ASSERT_TRUE(testreg::ReadValue(HKEY_CURRENT_USER, testreg::kRunKey, "vaxoAutostart0", type,
                                   runValue));
    runValue = runValue.substr(0, runValue.find('\0'));
    EXPECT_EQ(0, _stricmp(("\"" + KestrupExePath() + "\" /run 0").c_str(), runValue.c_str()))
        << runValue;

    std::string appPath;
    ASSERT_TRUE(testreg::ReadValue(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str(), "AppPath", type,
                                   appPath));
    EXPECT_EQ(program, appPath.substr(0, appPath.find('\0')));

    // What the system does at the next logon.
    EXPECT_EQ(0u, RunAndWait(runValue));
    ProbeRecord started;
    ASSERT_TRUE(WaitForProbeRecord(record, started));
    EXPECT_EQ("\"" + AsUtf8(program) + "\" " + kAnyScript, started.commandLine);
}
struct HelpCase
{
    const char* description;
    int focus;           // the control in use
    bool byCommand;      // the Help command sent instead of F1
    const char* begins;  // what the help begins with
};

class HelpTest : public ConfigurationEndToEndTest, public ::testing::WithParamInterface<HelpCase>
{
};

TEST_P(HelpTest, ShowsTheProgramsHelpAndLeavesTheDialogAsItWas)
{
    const HelpCase& row = GetParam();
    DWORD processId = 0;
    const CKernelHandle process = StartProcess("\"" + KestrupExePath() + "\"", &processId);
    ASSERT_TRUE(process);
    SeenBox help, saved;  // the help box is found by its caption
    HWND focusAfter = nullptr, control = nullptr, helpOnHelp = nullptr;
    {
        SettingsSession s(processId, true);
        ASSERT_TRUE(s.Found());
        s.Click(IDC_USER_DEFINED);
        s.Type(IDC_APP_PATH, "C:\\Shows\\player.exe");
        s.Type(IDC_PARAMETER, "-typed before help");
        ::SendMessageA(s.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control = ::GetDlgItem(s.Dialog(), row.focus)),
                       TRUE);
        if (row.byCommand)
            ::PostMessageA(s.Dialog(), WM_COMMAND, 57670, 0);
        else
            windows::PressKey(s.Dialog(), VK_F1);
        if (const HWND box = windows::WaitFor([processId](HWND w) {
                return windows::BelongsToProcess(w, processId) && windows::Text(w) == "Kestrup Help";
            }, 10000))
        {
            help = {"", windows::MessageBoxText(box), ::GetWindow(box, GW_OWNER), true};
            windows::PressKey(box, VK_F1);
            if ((helpOnHelp = windows::WaitFor([processId, box](HWND w) {
                     return w != box && windows::BelongsToProcess(w, processId) && windows::Text(w) == "Kestrup Help";
                 }, 2000)) != nullptr)
                windows::PressKey(helpOnHelp, VK_ESCAPE);
            windows::PressKey(box, VK_ESCAPE);
            for (int i = 0; i < 100 && ::IsWindow(box); ++i)
                ::Sleep(50);
        }
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof(thread);
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(s.Dialog(), nullptr), &thread);
        focusAfter = thread.hwndFocus;
        s.Click(IDOK);
        saved = s.AnswerBox();
        EXPECT_EQ(s.Dialog(), help.owner) << row.description;
    }
    ::WaitForSingleObject(process.get(), 30000);
    ASSERT_TRUE(help.found) << row.description << ": no help";
    EXPECT_EQ(nullptr, helpOnHelp) << row.description << ": F1 in the help box opened another";
    EXPECT_EQ(0u, help.text.find(row.begins)) << row.description << ": " << help.text;
    for (const char* words : {"Zentor", "Show File", "Kiosk Mode", "Parameter", "Abort", "its own folder",
                              "Start again when it ends", "share", "Disable", "SlotN", "/run N",
                              "Application event log, source \"vaxo Kestrup\"", "Version 3.6.0", "README.txt"})
        EXPECT_NE(std::string::npos, help.text.find(words)) << row.description << ": no \"" << words << "\"";
    EXPECT_EQ(control, focusAfter) << row.description << ": the focus moved";
    EXPECT_EQ("Settings successfully saved.", saved.text) << row.description;
    DWORD type = 0;
    std::string parameter;
    testreg::ReadValue(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str(), "Parameter", type, parameter);
    EXPECT_EQ(std::string("-typed before help", 19), parameter) << row.description;
}

INSTANTIATE_TEST_SUITE_P(
    Ways, HelpTest,
    ::testing::Values(HelpCase{"F1 in the Parameter field", IDC_PARAMETER, false, "Kestrup starts one program"},
                      HelpCase{"F1 on User Defined", IDC_USER_DEFINED, false,
                               "Enable autostart for a user defined application\n\nKestrup starts one program"},
                      HelpCase{"F1 on the slot list", IDC_SLOT, false, "The slot this window edits"},
                      HelpCase{"the Help command", IDC_PARAMETER, true, "Kestrup starts one program"}));
struct KeepOptionsCase
{
    const char* description;
    std::vector<const char*> typed;  // the seconds typed before each OK; all but the last are refused
    bool restart;                    // "Restart every day at" ticked, at the time it offers
    int settingsButton;
    const char* stored;  // NotRespondingSeconds and RestartDaily afterwards
    const char* restartBefore = nullptr;  // RestartDaily stored before, and AliveFile where the row types one
    std::vector<std::string> beat = {};   // the heartbeat's URL and seconds typed before each OK
    const char* refusals = nullptr;       // the boxes' texts, where not the seconds' range
    const char* beatStored = "- -";       // HeartbeatUrl and HeartbeatSeconds afterwards
    std::vector<std::string> alive = {};  // the alive file and its seconds typed before each OK
    const char* aliveStored = "- - -";    // AliveFile, AliveSeconds and KeepDisplayOn (ticked with a file) afterwards
    std::vector<const char*> hours = {};  // the show hours typed before each OK, over kHoursBefore
    const char* hoursStored = "- -";      // ShowHours and OffHoursDisplay (ticked with hours) afterwards
};

class KeepOptionsTest : public ConfigurationEndToEndTest, public ::testing::WithParamInterface<KeepOptionsCase>
{
};

std::string Stored(const char* name)
{
    DWORD type = 0;
    std::string data;
    if (!testreg::ReadValue(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str(), name, type, data))
        return "-";
    if (type == REG_DWORD)
        return std::to_string(*reinterpret_cast<const DWORD*>(data.data()));
    return data.c_str() + std::string(type == REG_EXPAND_SZ ? " (REG_EXPAND_SZ)" : "");
}

constexpr char kHoursBefore[] = "Sat 10:00-16:00";

TEST_P(KeepOptionsTest, AreStoredWithTheSlotOnItsOkOnly)
{
    const KeepOptionsCase& row = GetParam();
    if (!row.hours.empty())
        testreg::SetString(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str(), "ShowHours", kHoursBefore);
    if (row.restartBefore != nullptr)
        testreg::SetString(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str(), row.alive.empty() ? "RestartDaily" : "AliveFile",
                           row.restartBefore);
    DWORD processId = 0;
    const CKernelHandle process = StartProcess("\"" + KestrupExePath() + "\"", &processId);
    std::string shown, refusals;
    {
        SettingsSession s(processId, true);
        ASSERT_TRUE(s.Found());
        s.Click(IDC_USER_DEFINED);
        s.Type(IDC_APP_PATH, "C:\\Shows\\player.exe");
        s.Click(IDC_KEEP_RUNNING);
        s.Click(IDC_KEEP_OPTIONS);
        const auto other = [processId, &s](HWND except) {
            return windows::WaitFor([=, &s](HWND w) {
                return w != except && w != s.Dialog() && windows::IsVisibleDialog(w)
                       && windows::BelongsToProcess(w, processId);
            }, 10000);
        };
        const HWND options = other(nullptr);
        shown = windows::ControlText(options, IDC_NOT_RESPONDING);
        if (!row.alive.empty())
            shown += " " + windows::ControlText(options, IDC_ALIVE_FILE);
        if (!row.hours.empty())
            shown += std::string(" ") + windows::ControlText(options, IDC_SHOW_HOURS);
        if (row.restart)
            ::SendMessageA(::GetDlgItem(options, IDC_RESTART_DAILY), BM_CLICK, 0, 0);
        for (size_t i = 0; i < row.typed.size(); ++i)
        {
            ::SetWindowTextA(::GetDlgItem(options, IDC_NOT_RESPONDING), row.typed[i]);
            for (int field = 0; field < 2 && i < row.beat.size(); ++field)
                ::SetWindowTextA(::GetDlgItem(options, IDC_HEARTBEAT_URL + field),
                                 (field == 0 ? row.beat[i].substr(0, row.beat[i].find(' '))
                                             : row.beat[i].substr(row.beat[i].find(' ') + 1)).c_str());
            for (int field = 0; field < 2 && i < row.alive.size(); ++field)
                ::SetWindowTextA(::GetDlgItem(options, field == 0 ? IDC_ALIVE_FILE : IDC_ALIVE_SECONDS),
                                 (field == 0 ? row.alive[i].substr(0, row.alive[i].find(' '))
                                             : row.alive[i].substr(row.alive[i].find(' ') + 1)).c_str());
            if (i == 0 && !row.alive.empty())
                ::SendMessageA(::GetDlgItem(options, IDC_KEEP_DISPLAY_ON), BM_CLICK, 0, 0);
            if (i < row.hours.size())
                ::SetWindowTextA(::GetDlgItem(options, IDC_SHOW_HOURS), row.hours[i]);
            if (i == 0 && !row.hours.empty())
                ::SendMessageA(::GetDlgItem(options, IDC_OFF_HOURS_DISPLAY), BM_CLICK, 0, 0);
            windows::Press(options, IDOK);
            const HWND box = i + 1 < row.typed.size() ? other(options) : nullptr;
            refusals += box != nullptr ? windows::MessageBoxText(box) + "|" : "";
            if (box != nullptr)
                windows::Press(box, IDOK);
            for (int i = 0; i < 100 && ::IsWindow(box != nullptr ? box : options); ++i)
                ::Sleep(50);
        }
        s.Click(row.settingsButton);
        if (row.settingsButton == IDOK)
            s.AnswerBox();
    }
    ::WaitForSingleObject(process.get(), 30000);
    EXPECT_EQ((row.alive.empty() ? "60" : std::string("60 ") + row.restartBefore) +
                  (row.hours.empty() ? "" : std::string(" ") + kHoursBefore), shown)
        << row.description << ": the seconds shown where none are stored, and the alive file as stored";
    std::string expected = row.refusals != nullptr ? row.refusals : "";
    for (size_t i = 1; i < row.typed.size() && row.refusals == nullptr; ++i)
        expected += "Please enter an integer between 10 and 3600.|";
    EXPECT_EQ(expected, refusals) << row.description;
    EXPECT_EQ(row.stored, Stored("NotRespondingSeconds") + " " + Stored("RestartDaily")) << row.description;
    EXPECT_EQ(row.beatStored, Stored("HeartbeatUrl") + " " + Stored("HeartbeatSeconds")) << row.description;
    EXPECT_EQ(row.aliveStored, Stored("AliveFile") + " " + Stored("AliveSeconds") + " " + Stored("KeepDisplayOn"))
        << row.description;
    EXPECT_EQ(row.hoursStored, Stored("ShowHours") + " " + Stored("OffHoursDisplay")) << row.description;
}

INSTANTIATE_TEST_SUITE_P(
    Ways, KeepOptionsTest,
    ::testing::Values(KeepOptionsCase{"kept for the settings' OK", {"120"}, true, IDOK, "120 04:00"},
                      KeepOptionsCase{"dropped with the settings' Cancel", {"120"}, true, IDCANCEL, "- -"},
                      KeepOptionsCase{"out of range until corrected; the time untouched", {"5", "3601", "0"}, false,
                                      IDOK, "0 -"},
                      KeepOptionsCase{"the daily restart ticked off", {"60"}, true, IDOK, "- ", "04:00"},
                      KeepOptionsCase{"a heartbeat refused until it is an http(s) URL every 10 to 86400 s",
                                      {"60", "60", "60"}, false, IDOK, "- -", nullptr,
                                      {"ftp://hc.example/1 60", "https://hc.example/1 5", "HTTPS://hc.example/1 30"},
                                      "The heartbeat URL must start with http:// or https://.|Please enter an "
                                      "integer between 10 and 86400.|",
                                      "HTTPS://hc.example/1 30"},
                      KeepOptionsCase{"an alive file unwritten for 10 to 86400 s; the display kept on", {"60", "60"},
                                      false, IDOK, "- -", "old.log", {}, "Please enter an integer between 10 and 86400.|",
                                      "- -", {"logs\\player.log 5", "logs\\player.log 600"},
                                      "logs\\player.log 600 1"},
                      KeepOptionsCase{"an alive file named by a variable", {"60"}, false, IDOK, "- -", "old.log", {},
                                      nullptr, "- -", {"%LOCALAPPDATA%\\Player\\alive.log 60"},
                                      "%LOCALAPPDATA%\\Player\\alive.log (REG_EXPAND_SZ) 60 1"},
                      KeepOptionsCase{"show hours refused until they can be read; the displays off outside them",
                                      {"60", "60"}, false, IDOK, "- -", nullptr, {},
                                      "The show hours cannot be read: \"Fri-Mon 7:00\" has no end time.\n\nWrite "
                                      "ranges such as Mon-Fri 07:00-19:00; Sat,Sun 10:00-16:00 (days may be left out; "
                                      "an end before its begin runs over midnight). Empty: at all hours.|",
                                      "- -", {}, "- - -", {"Fri-Mon 7:00", "Fri-Mon 7:00-2:00"}, "Fri-Mon 7:00-2:00 1"}));

// Opened on slot 1, which has a program stored: a change, another slot chosen, the question answered.
struct SlotSwitch
{
    const char *description, *typed;   // typed into the field (0: none) before choosing
    int field, chosen, answer, shown, closeWith;  // answer 0: no question may come
    const char *then, *slot1Parameter;  // the box after the answer; slot 1's as stored at the end
    std::vector<WORD> keys = {};  // pressed on the list, the last one instead of choosing
};
class SlotSwitchTest : public ConfigurationEndToEndTest, public ::testing::WithParamInterface<SlotSwitch> {};

TEST_P(SlotSwitchTest, ListsEverySlotAndLoadsTheChosenOneAfterAskingAboutChanges)
{
    const SlotSwitch& row = GetParam();
    testreg::StoreSlot(0, {"", "", "", 0, 20, 0});
    testreg::StoreSlot(1, {"C:\\Shows\\player.exe", "", "-p 1", 0, 7, 3});
    testreg::StoreSlot(-4, {"C:\\Shows\\fourth.exe", "", "", 0, 9, 3});
    testreg::StoreSlot(3, {"", "D:\\gala.shw", "-z", 1, 45, 1});
    testreg::SetKeyAccess(testreg::SlotKey(3), testreg::kReadOnly);
    DWORD processId = 0;
    const CKernelHandle process = StartProcess("\"" + KestrupExePath() + "\" -SETTINGS 1", &processId);
    SettingsFields opened, after, browsing;
    SeenBox question, then;
    {
        SettingsSession s(processId, true);
        ASSERT_TRUE(s.Found()) << row.description << ": no settings for slot 1";
        opened = s.Read();
        s.Type(row.field, row.typed);  // no field: nothing typed
        for (size_t i = 0; i + 1 < row.keys.size(); ++i)
            s.PressOnSlotList(row.keys[i]);
        browsing = s.Read();
        if (row.keys.empty())
            s.ChooseSlot(row.chosen);
        else
            s.PressOnSlotList(row.keys.back());
        question = row.answer != 0 ? s.AnswerBox(row.answer) : SeenBox();
        then = *row.then != '\0' ? s.AnswerBox() : SeenBox();
        after = s.Read();
        s.Click(row.closeWith);
        if (row.closeWith == IDOK)
            s.AnswerBox();
    }
    ::WaitForSingleObject(process.get(), 30000);
    EXPECT_EQ((std::vector<std::string>{"-4: fourth.exe", "0: Disable", "1: player.exe", "2: new", "3: Zentor"}),
              opened.slots);
    EXPECT_EQ("vaxo Kestrup V3.6 - slot 1|C:\\Shows\\player.exe", opened.title + "|" + opened.appPath);
    EXPECT_EQ(std::string(row.answer != 0 ? "Save the changes to slot 1?|" : "|") + row.then,
              question.text + "|" + then.text) << row.description;
    EXPECT_EQ("vaxo Kestrup V3.6 - slot " + std::to_string(row.shown), after.title) << row.description;
    EXPECT_EQ(std::to_string(row.shown) + ":", after.slot.substr(0, after.slot.find(':') + 1))
        << row.description << ": the list shows " << after.slot;
    EXPECT_EQ(opened.title + (row.keys.empty() ? "" : ", list open"),
              browsing.title + (browsing.slotListOpen ? ", list open" : ""))
        << row.description << ": moving through the open list loads and asks nothing";
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::SlotKey(2).c_str()))
        << row.description << ": slot 2, never saved, has a key";
    EXPECT_TRUE(row.shown != 3 || (after.checkedRadio == IDC_ZENTOR && after.appPathReadOnly && !after.showPathReadOnly
                                   && after.showPath + after.parameter + after.delay == "D:\\gala.shw-z45"))
        << row.description << ": the read-only slot 3 as stored, locked as Zentor";
    EXPECT_TRUE(row.shown != 2 || (after.checkedRadio == IDC_DISABLE && after.appPath + after.delay == "20"))
        << row.description << ": the new slot 2 as never saved, not " << after.appPath << " " << after.delay;
    DWORD type = 0;
    std::string stored, run;
    testreg::ReadValue(HKEY_CURRENT_USER, testreg::SlotKey(1).c_str(), "Parameter", type, stored);
    EXPECT_EQ(row.slot1Parameter, stored.substr(0, stored.find('\0'))) << row.description;
    const std::string shown = "vaxoAutostart" + std::to_string(row.shown);
    EXPECT_EQ(row.closeWith == IDOK, testreg::ReadValue(HKEY_CURRENT_USER, testreg::kRunKey, shown.c_str(), type, run))
        << row.description << ": OK saves the slot shown";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SlotSwitchTest,
    ::testing::Values(
        SlotSwitch{"nothing changed: no question", "", 0, 3, 0, 3, IDCANCEL, "", "-p 1"},
        SlotSwitch{"No drops the change", "-x", IDC_PARAMETER, 3, IDNO, 3, IDCANCEL, "", "-p 1"},
        SlotSwitch{"Yes saves first", "-x", IDC_PARAMETER, 3, IDYES, 3, IDCANCEL, "Settings successfully saved.", "-x"},
        SlotSwitch{"Yes refused", "", IDC_APP_PATH, 3, IDYES, 1, IDCANCEL, "No application path specified.", "-p 1"},
        SlotSwitch{"Cancel stays", "-x", IDC_PARAMETER, 3, IDCANCEL, 1, IDCANCEL, "", "-p 1"},
        SlotSwitch{"OK saves the slot chosen", "-x", IDC_PARAMETER, -4, IDNO, -4, IDOK, "", "-p 1"},
        SlotSwitch{"Esc in the open list", "-x", IDC_PARAMETER, 0, 0, 1, IDCANCEL, "", "-p 1",
                   {VK_F4, VK_DOWN, VK_DOWN, VK_ESCAPE}},
        SlotSwitch{"Enter in the open list", "-x", IDC_PARAMETER, 0, IDNO, 3, IDCANCEL, "", "-p 1",
                   {VK_F4, VK_DOWN, VK_DOWN, VK_RETURN}},
        SlotSwitch{"the new slot only looked at", "", 0, 0, 0, 2, IDCANCEL, "", "-p 1", {VK_F4, VK_DOWN, VK_RETURN}}));
} // namespace
