#include "app/AutostartApp.h"

#include "tests/support/Registry.h"
#include "tests/support/SettingsSession.h"
#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

namespace
{
class SaveReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Clean();
        app.SetCurrentHandles(::GetModuleHandleA(nullptr));
        app.SetRegistryKey("vaxo");
        app.exePath = "C:\\Tools\\tool.exe";
        values.appType = AppType::UserDefined;
        values.appPath = "C:\\a.exe";
    }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey);
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, testreg::kRunKey, "vaxoAutostart0");
    }

    SeenBox SaveAndAnswer()
    {
        SeenBox box;
        {
            UiDriver driver([&box](DWORD uiThread) { box = AnswerBoxOf(uiThread, false, nullptr); });
            app.SaveSettings(values);
        }
        return box;
    }

    CAutostartApp app;
    SlotSettings values;
};

TEST_F(SaveReportTest, SuccessIsConfirmedUnderTheApplicationsTitle)
{
    const SeenBox box = SaveAndAnswer();
    EXPECT_EQ("Settings successfully saved.", box.text);
    EXPECT_EQ("vaxo Kestrup V3.6", box.caption);
}

TEST_F(SaveReportTest, FailureIsShownInAnErrorBoxOfItsOwn)
{
    // Below a volatile key no lasting key can be made, so the slot's key
    // cannot be created.
    CRegKeyHandle profile;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, testreg::kProfileKey, 0, nullptr,
                                               REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                               profile.put(), nullptr));

    const SeenBox box = SaveAndAnswer();
    EXPECT_EQ("Could not save application path\n", box.text);
    EXPECT_EQ("Error", box.caption);
    EXPECT_EQ(nullptr, box.owner);
    DWORD type = 0;
    std::string data;
    EXPECT_FALSE(testreg::ReadValue(HKEY_CURRENT_USER, testreg::kRunKey, "vaxoAutostart0", type, data));
}
} // namespace
