#include "app/AutostartApp.h"

#include "tests/support/Registry.h"
#include "tests/support/SettingsSession.h"
#include "tests/support/WindowDriver.h"
#include "ui/SettingsDialog.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

namespace
{
class SaveReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testreg::RemoveSettings(0);
        app.SetCurrentHandles(::GetModuleHandleA(nullptr));
        app.SetRegistryKey("vaxo");
        app.exePath = "C:\\Tools\\tool.exe";
        values.appType = AppType::UserDefined;
        values.appPath = "C:\\a.exe";
    }
    void TearDown() override { testreg::RemoveSettings(0); }

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

    CSettingsDialog dialog;
    dialog.SetAppType(AppType::UserDefined);
    dialog.SetAppPath("C:\\a.exe");
    dialog.SetSaveAction([this](const SlotSettings& shown) { return app.SaveSettings(shown); });
    app.m_pMainWnd = &dialog;
    SeenBox box;
    bool dialogTookInput = true;
    {
        UiDriver driver([&](DWORD uiThread) {
            SettingsSession s(uiThread);
            ASSERT_TRUE(s.Found());
            s.Click(IDOK);
            dialogTookInput = ::IsWindowEnabled(s.Dialog()) != 0;
            box = s.AnswerBox();
            box.owner = box.owner == s.Dialog() ? reinterpret_cast<HWND>(1) : box.owner;
        });
        dialog.DoModal();
    }
    app.m_pMainWnd = nullptr;
    EXPECT_EQ("Could not save application path\n", box.text);
    EXPECT_EQ("Error", box.caption);
    EXPECT_EQ(reinterpret_cast<HWND>(1), box.owner) << "the box belongs to the settings dialog";
    EXPECT_FALSE(dialogTookInput) << "a second OK could start a second save";
    DWORD type = 0;
    std::string data;
    EXPECT_FALSE(testreg::ReadValue(HKEY_CURRENT_USER, testreg::kRunKey, "vaxoAutostart0", type, data));
}
} // namespace
