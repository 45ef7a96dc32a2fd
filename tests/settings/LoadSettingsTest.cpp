#include "app/AutostartApp.h"

#include "tests/support/Registry.h"

#include <gtest/gtest.h>

namespace
{
class LoadSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey);
        app.SetCurrentHandles(::GetModuleHandleA(nullptr));
        app.SetRegistryKey("vaxo");
    }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey); }

    static void Store(int slot, const char* appPath, DWORD delay, DWORD mode)
    {
        testreg::StoreSlot(slot, {appPath, std::string(appPath) + ".shw",
                                  std::string(appPath) + " -p", 1, delay, mode});
    }

    CAutostartApp app;
};

TEST_F(LoadSettingsTest, NeverSavedSlotGivesDefaultsAndLeavesItsKey)
{
    app.LoadSettings();
    EXPECT_EQ("", app.settings.appPath);
    EXPECT_EQ("", app.settings.showPath);
    EXPECT_EQ("", app.settings.parameter);
    EXPECT_EQ(0, app.settings.kiosk);
    EXPECT_EQ(20, app.settings.delay);
    EXPECT_EQ(0, static_cast<int>(app.settings.appType));
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str()));
}

TEST_F(LoadSettingsTest, ReadsOnlyTheChosenSlot)
{
    Store(0, "C:\\zero.exe", 5, 2);
    Store(3, "C:\\three.exe", 7, 3);
    testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(3).c_str(), "KeepRunning", 1);
    testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(3).c_str(), "WindowsErrorReporting", 1);
    app.slot = 3;
    app.LoadSettings();
    EXPECT_EQ("C:\\three.exe", app.settings.appPath);
    EXPECT_EQ("C:\\three.exe.shw", app.settings.showPath);
    EXPECT_EQ("C:\\three.exe -p", app.settings.parameter);
    EXPECT_EQ(1, app.settings.kiosk);
    EXPECT_EQ(7, app.settings.delay);
    EXPECT_EQ(3, static_cast<int>(app.settings.appType));
    EXPECT_TRUE(app.settings.keepRunning);
    EXPECT_TRUE(app.settings.windowsErrorReporting);
}

TEST_F(LoadSettingsTest, OutOfRangeValuesLoadUnchanged)
{
    Store(0, "C:\\x.exe", 500, 7);
    app.LoadSettings();
    EXPECT_EQ(500, app.settings.delay);
    EXPECT_EQ(7, static_cast<int>(app.settings.appType));
}

TEST_F(LoadSettingsTest, NegativeSlotUsesItsOwnKey)
{
    Store(-1, "C:\\minus.exe", 4, 1);
    app.slot = -1;
    app.LoadSettings();
    EXPECT_EQ("C:\\minus.exe", app.settings.appPath);
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, "software\\vaxo\\vaxo Kestrup V3.6\\Slot-1"));
}

TEST_F(LoadSettingsTest, KioskValueIsKeptAsStored)
{
    Store(0, "C:\\x.exe", 1, 1);
    testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str(), "Kiosk", 2);
    app.LoadSettings();
    EXPECT_EQ(2, app.settings.kiosk);
}

TEST_F(LoadSettingsTest, UnreadableValuesTakeTheirDefaults)
{
    const std::string key = testreg::SlotKey(0);
    testreg::SetDword(HKEY_CURRENT_USER, key.c_str(), "AppPath", 5);
    testreg::SetString(HKEY_CURRENT_USER, key.c_str(), "Delay", "30");
    const unsigned long long eightBytes = 45;
    testreg::SetBytes(HKEY_CURRENT_USER, key.c_str(), "Mode", REG_BINARY, &eightBytes, 8);
    testreg::SetBytes(HKEY_CURRENT_USER, key.c_str(), "ShowPath", REG_BINARY, "abc", 3);
    testreg::SetDword(HKEY_CURRENT_USER, key.c_str(), "RestartDaily", 400);
    app.LoadSettings();
    EXPECT_EQ("400", app.settings.restartDaily) << "a time of another type loads as what it holds, which is no time";
    EXPECT_EQ("", app.settings.appPath);
    EXPECT_EQ("", app.settings.showPath);
    EXPECT_EQ(20, app.settings.delay);
    EXPECT_EQ(0, static_cast<int>(app.settings.appType));
}
struct NotRespondingCase
{
    DWORD stored;  // MAXDWORD: no value
    unsigned loaded;
};

class NotRespondingLoadTest : public LoadSettingsTest, public ::testing::WithParamInterface<NotRespondingCase>
{
};

TEST_P(NotRespondingLoadTest, TakesTheStoredSecondsWithAFloorAndNoneForZero)
{
    Store(0, "C:\\x.exe", 1, 3);
    if (GetParam().stored != MAXDWORD)
        testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str(), "NotRespondingSeconds", GetParam().stored);
    app.LoadSettings();
    EXPECT_EQ(GetParam().loaded, app.settings.notRespondingSeconds) << "stored " << GetParam().stored;
}

INSTANTIATE_TEST_SUITE_P(Values, NotRespondingLoadTest,
                         ::testing::Values(NotRespondingCase{MAXDWORD, 60}, NotRespondingCase{0, 0},
                                           NotRespondingCase{5, 10}, NotRespondingCase{90, 90}));
} // namespace
