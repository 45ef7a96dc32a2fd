#include "app/AutostartApp.h"

#include "framework/SystemMessage.h"
#include "settings/RegistryError.h"
#include "tests/support/Registry.h"
#include "tests/support/SettingsSession.h"
#include "tests/support/WindowDriver.h"
#include "ui/SettingsDialog.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace
{
const char kOrbx[] = "C:\\Suite\\Player\\ORBXPlayer.exe";
const char kTool[] = "C:\\Tools\\tool.exe";
const char kTitle[] = "vaxo Kestrup V3.6";

// The application with writes that can be made to fail, for the failures the
// test registry cannot produce by itself.
class SavingApp : public CAutostartApp
{
public:
    int failWriteNumber = 0;  // 1-based number of the profile write that fails; 0 for none
    LONG runValueError = ERROR_SUCCESS;
    std::vector<std::string> writes;

    BOOL WriteProfileString(const char* section, const char* entry, const char* value) override
    {
        return Write(entry) && CAutostartApp::WriteProfileString(section, entry, value);
    }
    BOOL WriteProfileInt(const char* section, const char* entry, int value) override
    {
        return Write(entry) && CAutostartApp::WriteProfileInt(section, entry, value);
    }
    LONG SetRunValue(HKEY root, const char* valueName, const char* data) override
    {
        if (runValueError != ERROR_SUCCESS)
            throw RegistryError{runValueError};
        return CAutostartApp::SetRunValue(root, valueName, data);
    }

private:
    bool Write(const char* entry)
    {
        writes.push_back(entry);
        return static_cast<int>(writes.size()) != failWriteNumber;
    }
};

class SaveSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Clean();
        app.SetCurrentHandles(::GetModuleHandleA(nullptr));
        app.SetRegistryKey("vaxo");
        app.orbxPlayerPath = kOrbx;
        app.exePath = kTool;
    }
    void TearDown() override { Clean(); }

    void Clean()
    {
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey);
        for (int slot : {0, 3, 7})
            ::RegDeleteKeyValueA(HKEY_CURRENT_USER, testreg::kRunKey,
                                 ("vaxoAutostart" + std::to_string(slot)).c_str());
    }

    // Runs the dialog, lets the script select and fill it, presses OK and
    // collects every box until the dialog has closed.
    std::vector<SeenBox> SaveWith(const std::function<void(SettingsSession&)> & fill)
    {
        std::vector<SeenBox> boxes;
        CSettingsDialog dialog;
        app.m_pMainWnd = &dialog;
        {
            UiDriver driver([&](DWORD uiThread) {
                SettingsSession s(uiThread);
                ASSERT_TRUE(s.Found());
                fill(s);
                s.Click(IDOK);
                for (int wait = 0; wait < 100 && ::IsWindowVisible(s.Dialog()); ++wait)
                {
                    SeenBox box = s.AnswerBox(200);
                    if (!box.found)
                        continue;
                    box.owner = box.owner == s.Dialog() ? reinterpret_cast<HWND>(1) : box.owner;
                    boxes.push_back(box);
                }
            });
            dialog.DoModal();
        }
        app.m_pMainWnd = nullptr;
        MSG quit;
        ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        return boxes;
    }

    static void SelectUserDefined(SettingsSession& s, const std::string& path)
    {
        s.Click(IDC_USER_DEFINED);
        s.Type(IDC_APP_PATH, path);
    }

    static std::string RunValue(int slot, DWORD* type = nullptr)
    {
        DWORD valueType = 0;
        std::string data;
        if (!testreg::ReadValue(HKEY_CURRENT_USER, testreg::kRunKey,
                                ("vaxoAutostart" + std::to_string(slot)).c_str(), valueType, data))
            return "<none>";
        if (type != nullptr)
            *type = valueType;
        return data;
    }

    static void Register(int slot)
    {
        testreg::SetString(HKEY_CURRENT_USER, testreg::kRunKey,
                           ("vaxoAutostart" + std::to_string(slot)).c_str(), "old");
        testreg::SetString(HKEY_CURRENT_USER, testreg::SlotKey(slot).c_str(), "AppPath", "old");
    }

    static DWORD Dword(int slot, const char* name, DWORD* type = nullptr)
    {
        DWORD valueType = 0;
        std::string data;
        if (!testreg::ReadValue(HKEY_CURRENT_USER, testreg::SlotKey(slot).c_str(), name, valueType,
                                data) || data.size() != 4)
            return 0xDEADBEEF;
        if (type != nullptr)
            *type = valueType;
        DWORD value;
        std::memcpy(&value, data.data(), 4);
        return value;
    }

    static std::string String(int slot, const char* name)
    {
        DWORD type = 0;
        std::string data;
        if (!testreg::ReadValue(HKEY_CURRENT_USER, testreg::SlotKey(slot).c_str(), name, type, data)
            || type != REG_SZ)
            return "<none>";
        return data.substr(0, data.find('\0'));
    }

    SavingApp app;
};

TEST_F(SaveSettingsTest, OrbxPlayerForSlot0StoresAllValuesAndRegisters)
{
    const std::vector<SeenBox> boxes = SaveWith([](SettingsSession& s) {
        s.Click(IDC_ORBX_PLAYER);
        s.Type(IDC_PARAMETER, "-loop");
        s.Type(IDC_DELAY, "15");
    });
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Settings successfully saved.", boxes[0].text);
    EXPECT_EQ(kTitle, boxes[0].caption);
    EXPECT_EQ(reinterpret_cast<HWND>(1), boxes[0].owner) << "the success box belongs to the dialog";

    EXPECT_EQ(kOrbx, String(0, "AppPath"));
    EXPECT_EQ("", String(0, "ShowPath"));
    EXPECT_EQ("-loop", String(0, "Parameter"));
    EXPECT_EQ(0u, Dword(0, "Kiosk"));
    EXPECT_EQ(15u, Dword(0, "Delay"));
    EXPECT_EQ(2u, Dword(0, "Mode"));
    DWORD type = 0;
    EXPECT_EQ(std::string("\"C:\\Tools\\tool.exe\" /run 0", 27), RunValue(0, &type))
        << "REG_SZ data with its terminating NUL";
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
}

TEST_F(SaveSettingsTest, ExecutablePathWithBlanksStaysInsideTheQuotes)
{
    app.exePath = "C:\\Program Files\\vaxo tools\\Kestrup.exe";
    SaveWith([](SettingsSession& s) { SelectUserDefined(s, "C:\\a.exe"); });
    EXPECT_EQ("\"C:\\Program Files\\vaxo tools\\Kestrup.exe\" /run 0",
              RunValue(0).substr(0, RunValue(0).find('\0')));
}

TEST_F(SaveSettingsTest, Slot7LeavesSlot0Alone)
{
    Register(0);
    app.slot = 7;
    SaveWith([](SettingsSession& s) { SelectUserDefined(s, "C:\\seven.exe"); });
    EXPECT_EQ("C:\\seven.exe", String(7, "AppPath"));
    EXPECT_EQ(3u, Dword(7, "Mode"));
    EXPECT_EQ("\"C:\\Tools\\tool.exe\" /run 7", RunValue(7).substr(0, RunValue(7).find('\0')));
    EXPECT_EQ("old", String(0, "AppPath"));
    EXPECT_EQ(std::string("old", 4), RunValue(0));
}

TEST_F(SaveSettingsTest, KioskIsStoredAsDword1Or0)
{
    app.zentorPath = "C:\\Suite\\ZENTOR.EXE";
    SaveWith([](SettingsSession& s) {
        s.Click(IDC_ZENTOR);
        s.Click(IDC_KIOSK);
    });
    DWORD type = 0;
    EXPECT_EQ(1u, Dword(0, "Kiosk", &type));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(1u, Dword(0, "Mode"));

    SaveWith([](SettingsSession& s) { s.Click(IDC_ZENTOR); });
    EXPECT_EQ(0u, Dword(0, "Kiosk", &type));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
}

TEST_F(SaveSettingsTest, DisableOnASlotNeverRegisteredSucceedsAndLeavesNothing)
{
    app.slot = 3;
    const std::vector<SeenBox> boxes = SaveWith([](SettingsSession&) {});
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Settings successfully saved.", boxes[0].text);
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::SlotKey(3).c_str()));
    EXPECT_EQ("<none>", RunValue(3));
}

TEST_F(SaveSettingsTest, DisableAfterARegistrationRemovesIt)
{
    SaveWith([](SettingsSession& s) { SelectUserDefined(s, "C:\\a.exe"); });
    ASSERT_NE("<none>", RunValue(0));
    const std::vector<SeenBox> boxes = SaveWith([](SettingsSession& s) { s.Click(IDC_DISABLE); });
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Settings successfully saved.", boxes[0].text);
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str()));
    EXPECT_EQ("<none>", RunValue(0));
}

struct FailingWrite
{
    int number;
    const char* entry;
    const char* text;
};

class FailingWriteTest : public SaveSettingsTest, public ::testing::WithParamInterface<FailingWrite>
{
};

TEST_P(FailingWriteTest, ReportsItsTextWritesNothingMoreAndResetsTheSlot)
{
    const FailingWrite& row = GetParam();
    Register(0);
    app.failWriteNumber = row.number;
    const std::vector<SeenBox> boxes =
        SaveWith([](SettingsSession& s) { SelectUserDefined(s, "C:\\a.exe"); });

    ASSERT_EQ(1u, boxes.size()) << row.entry;
    EXPECT_EQ(row.text, boxes[0].text);
    EXPECT_EQ("Error", boxes[0].caption);
    EXPECT_EQ(nullptr, boxes[0].owner) << "error boxes have no owner";
    ASSERT_EQ(static_cast<size_t>(row.number), app.writes.size()) << "writes stop at the failure";
    EXPECT_EQ(row.entry, app.writes.back());
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str()));
    EXPECT_EQ("<none>", RunValue(0));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailingWriteTest,
    ::testing::Values(FailingWrite{1, "AppPath", "Could not save application path\n"},
                      FailingWrite{2, "ShowPath", "Could not save showfile path"},
                      FailingWrite{3, "Parameter", "Could not save paramter"},
                      FailingWrite{4, "Kiosk", "Could not save kiosk flag"},
                      FailingWrite{5, "Delay", "Could not save delay time"},
                      FailingWrite{6, "Mode", "Could not save mode flag"}));

TEST_F(SaveSettingsTest, FailureToSetTheRunValueShowsTheSystemsText)
{
    Register(0);
    app.runValueError = ERROR_ACCESS_DENIED;
    const std::vector<SeenBox> boxes =
        SaveWith([](SettingsSession& s) { SelectUserDefined(s, "C:\\a.exe"); });
    std::string expected;
    ASSERT_TRUE(GetSystemMessage(ERROR_ACCESS_DENIED, expected));
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(expected, boxes[0].text);
    EXPECT_EQ("Error", boxes[0].caption);
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str()));
    EXPECT_EQ("<none>", RunValue(0));
}

TEST_F(SaveSettingsTest, CodeWithoutSystemTextIsReportedAndTheSlotReset)
{
    Register(0);
    app.runValueError = static_cast<LONG>(0xE0004321);
    const std::vector<SeenBox> boxes =
        SaveWith([](SettingsSession& s) { SelectUserDefined(s, "C:\\a.exe"); });
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Error 3758113569", boxes[0].text);
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str()));
    EXPECT_EQ("<none>", RunValue(0));
}

TEST_F(SaveSettingsTest, CleanUpThatCannotOpenTheProfileKeyStillReportsAndUnregisters)
{
    // Nothing of the profile exists, so the clean-up cannot open the slot's parent.
    testreg::SetString(HKEY_CURRENT_USER, testreg::kRunKey, "vaxoAutostart0", "old");
    app.failWriteNumber = 1;
    const std::vector<SeenBox> boxes =
        SaveWith([](SettingsSession& s) { SelectUserDefined(s, "C:\\a.exe"); });
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Could not save application path\n", boxes[0].text);
    EXPECT_EQ("<none>", RunValue(0));
}

TEST_F(SaveSettingsTest, RegistryHelpersRaiseWhenTheParentCannotBeOpened)
{
    EXPECT_THROW(app.DeleteRegKey(HKEY_CURRENT_USER, "Software\\kestrup-missing", "Slot0"),
                 RegistryError);
    EXPECT_THROW(app.DeleteRegValue(HKEY_CURRENT_USER, "Software\\kestrup-missing", "x"),
                 RegistryError);
    try
    {
        app.CAutostartApp::SetRunValue(reinterpret_cast<HKEY>(0x1234), "x", "y");
        ADD_FAILURE() << "no error raised";
    }
    catch (const RegistryError& error)
    {
        EXPECT_NE(ERROR_SUCCESS, error.code);
    }
    testreg::SetString(HKEY_CURRENT_USER, testreg::kRunKey, "vaxoAutostart0", "x");
    EXPECT_EQ(ERROR_SUCCESS, app.DeleteRegValue(HKEY_CURRENT_USER, testreg::kRunKey, "vaxoAutostart0"));
    EXPECT_EQ(ERROR_SUCCESS, app.DeleteRegValue(HKEY_CURRENT_USER, testreg::kRunKey, "vaxoAutostart0"))
        << "a value that is already gone counts as removed";
}
} // namespace
