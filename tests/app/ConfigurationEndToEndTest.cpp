#include "tests/support/Probe.h"
#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/SettingsSession.h"
#include "tests/support/TempFolder.h"
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
    void TearDown() override { testreg::RemoveSettings(0); }

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
} // namespace
