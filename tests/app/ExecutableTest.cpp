#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/SettingsSession.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class ExecutableTest : public ::testing::Test
{
protected:
    void SetUp() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey); }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey); }

    static std::string CommandLine(const std::string& arguments)
    {
        return "\"" + KestrupExePath() + "\" " + arguments;
    }
};

TEST_F(ExecutableTest, RunSwitchWithoutSlotEndsWithoutTouchingTheRegistry)
{
    for (const char* arguments : {"/run", "/run /x", "-RUN 3 /run"})
    {
        RunAndWait(CommandLine(arguments));
        EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::kCompanyKey))
            << "arguments <" << arguments << "> created the profile key";
    }
}

TEST_F(ExecutableTest, StatusOfEverySlotWithNoneRegisteredIsNothingKept)
{
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kRunKey);
    EXPECT_EQ(2u, RunAndWait(CommandLine("/status")));
}
} // namespace

namespace
{
TEST_F(ExecutableTest, SlotWithoutProgramOpensItsSettingsAndLeavesItsKeyBehind)
{
    DWORD processId = 0;
    const CKernelHandle process = StartProcess(CommandLine("/run 7"), &processId);
    ASSERT_TRUE(process);
    {
        SettingsSession s(processId, true);
        EXPECT_TRUE(s.Found()) << "configuration mode shows the settings";
        if (s.Found())
            s.Click(IDCANCEL);
    }
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.get(), 30000));
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::SlotKey(7).c_str()));
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::SlotKey(0).c_str()));
}
} // namespace
