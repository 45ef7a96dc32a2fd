#include "app/AutostartApp.h"
#include "app/AutostartCommandLineInfo.h"
#include "settings/RegistryNames.h"

#include "tests/support/Registry.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace
{
enum class Outcome
{
    Ended,
    LaunchMode,
    ConfigurationMode,
};

const char* Name(Outcome outcome)
{
    switch (outcome)
    {
    case Outcome::Ended: return "ended";
    case Outcome::LaunchMode: return "launch mode";
    case Outcome::ConfigurationMode: return "configuration mode";
    }
    return "?";
}

// The application with its two modes recorded instead of run.
class ModeRecordingApp : public CAutostartApp
{
public:
    ModeRecordingApp() { SetCurrentHandles(::GetModuleHandleA(nullptr)); }

    Outcome Run(const std::string& arguments)
    {
        return RunCommandLine("\"C:\\Tools\\Kestrup.exe\" " + arguments);
    }
    Outcome RunCommandLine(const std::string& commandLine)
    {
        CAutostartCommandLineInfo parser(commandLine.c_str());
        Start(parser);
        return outcome;
    }

    Outcome outcome = Outcome::Ended;

protected:
    void RunLaunchMode() override { outcome = Outcome::LaunchMode; }
    void RunConfigurationMode() override { outcome = Outcome::ConfigurationMode; }
};

class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey); }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey); }

    static void StoreSlot(int slot, const char* appPath)
    {
        testreg::StoreSlot(slot, {appPath, "D:\\Shows\\gala.shw", "-x 2", 2, 9, 0});
    }
};

struct StartupCase
{
    const char* arguments;
    int storedSlot;  // slot with a stored application path, or -100 for none
    Outcome expected;
    int expectedSlot;
    bool expectedRunRequested;
};

class StartupModeTest : public StartupTest, public ::testing::WithParamInterface<StartupCase>
{
};

TEST_P(StartupModeTest, ChoosesTheMode)
{
    const StartupCase& row = GetParam();
    if (row.storedSlot != -100)
        StoreSlot(row.storedSlot, "C:\\Apps\\show.exe");

    ModeRecordingApp app;
    const Outcome actual = app.Run(row.arguments);

    EXPECT_STREQ(Name(row.expected), Name(actual)) << "arguments <" << row.arguments << ">";
    EXPECT_EQ(row.expectedSlot, app.slot) << "arguments <" << row.arguments << ">";
    EXPECT_EQ(row.expectedRunRequested, app.runRequested) << "arguments <" << row.arguments << ">";
    if (row.expected == Outcome::Ended)
        EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::kCompanyKey))
            << "the profile key must not be created for <" << row.arguments << ">";
    else
        EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::SlotKey(row.expectedSlot).c_str()));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, StartupModeTest,
    ::testing::Values(
        StartupCase{"", -100, Outcome::ConfigurationMode, 0, false},
        StartupCase{"", 0, Outcome::ConfigurationMode, 0, false},
        StartupCase{"/run 3", 3, Outcome::LaunchMode, 3, true},
        StartupCase{"/run 3", -100, Outcome::ConfigurationMode, 3, true},
        StartupCase{"/run 3", 0, Outcome::ConfigurationMode, 3, true},
        StartupCase{"/RUN 3", 3, Outcome::LaunchMode, 3, true},
        StartupCase{"/Run 3", 3, Outcome::LaunchMode, 3, true},
        StartupCase{"-run 3", 3, Outcome::LaunchMode, 3, true},
        StartupCase{"/run 3 /run 4", 4, Outcome::LaunchMode, 4, true},
        StartupCase{"/run 4 /run 3", 4, Outcome::ConfigurationMode, 3, true},
        StartupCase{"/run", -100, Outcome::Ended, 0, false},
        StartupCase{"/run /x", -100, Outcome::Ended, 0, false},
        StartupCase{"/run 3 /run", -100, Outcome::Ended, 0, true},
        StartupCase{"/run abc", 0, Outcome::LaunchMode, 0, true},
        StartupCase{"/run abc", -100, Outcome::ConfigurationMode, 0, true},
        StartupCase{"/run3", 0, Outcome::ConfigurationMode, 0, false},
        StartupCase{"/start 3", 3, Outcome::ConfigurationMode, 0, false},
        StartupCase{"/run \"-1\"", -1, Outcome::LaunchMode, -1, true},
        StartupCase{"/run \"\"", -100, Outcome::Ended, 0, false}));

TEST_F(StartupTest, RunValueWrittenForASlotRunsThatSlot)
{
    for (const char* exe : {"C:\\Program Files\\vaxo\\Kestrup.exe", "C:\\a  b\\Kestrup.exe",
                            "C:\\tools\\ -x\\Kestrup.exe", "/x/Kestrup.exe",
                            "C:\\a /run 9\\Kestrup.exe"})
        for (int slot : {0, 7, INT_MAX, -1, -3, INT_MIN})
        {
            const std::string runValue = regnames::RunCommand(exe, slot);
            ModeRecordingApp app;
            app.RunCommandLine(runValue);
            EXPECT_EQ(slot, app.slot) << runValue;
            EXPECT_TRUE(app.runRequested) << runValue;
        }
}

TEST_F(StartupTest, EndingEarlyReadsNoStoredSlot)
{
    StoreSlot(3, "C:\\Apps\\show.exe");
    ModeRecordingApp app;
    EXPECT_EQ(Outcome::Ended, app.Run("/run 3 /run"));
    EXPECT_EQ("", app.settings.appPath);
    EXPECT_EQ(0, app.settings.delay);
}

TEST_F(StartupTest, LaunchModeHasTheSlotsValuesLoaded)
{
    StoreSlot(3, "C:\\Apps\\show.exe");
    ModeRecordingApp app;
    ASSERT_EQ(Outcome::LaunchMode, app.Run("/run 3"));
    EXPECT_EQ("C:\\Apps\\show.exe", app.settings.appPath);
    EXPECT_EQ("D:\\Shows\\gala.shw", app.settings.showPath);
    EXPECT_EQ("-x 2", app.settings.parameter);
    EXPECT_EQ(2, app.settings.kiosk);
    EXPECT_EQ(9, app.settings.delay);
    EXPECT_EQ(0, static_cast<int>(app.settings.appType)) << "the stored kind plays no part in the choice";
}

TEST_F(StartupTest, OwnExecutablePathIsKnownBeforeTheCommandLineIsRead)
{
    ModeRecordingApp app;
    app.Run("/run");
    char expected[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, expected, MAX_PATH);
    EXPECT_EQ(expected, app.exePath);
    EXPECT_EQ(app.exePath, CAutostartApp::GetExePath());
}

TEST_F(StartupTest, InitInstanceAlwaysReturnsFalse)
{
    ModeRecordingApp app;
    EXPECT_FALSE(app.InitInstance());
}
} // namespace
