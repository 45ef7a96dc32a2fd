#include "framework/SystemMessage.h"
#include "tests/support/Probe.h"
#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

namespace
{
// The tool started as the Run value starts it at logon.
class LaunchEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey); }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey); }

    static void StoreSlot(int slot, const std::string& appPath)
    {
        testreg::StoreSlot(slot, {appPath, "D:\\Shows\\gala.shw", "-p 1", 1, 1, 3});
    }

    static std::string RunCommandLine(int slot)
    {
        return "\"" + KestrupExePath() + "\" /run " + std::to_string(slot);
    }

    TempFolder temp{"launch-e2e"};
};

TEST_F(LaunchEndToEndTest, RunValueCountsDownAndStartsTheStoredProgram)
{
    const std::string program = temp.MakeFolder("show tools") + "\\probe.exe";
    InstallProbe(program);
    const std::string record = temp.Path() + "record.txt";
    ExpectProbeRecordAt(record);
    StoreSlot(4, program);

    EXPECT_EQ(0u, RunAndWait(RunCommandLine(4)));

    ProbeRecord started;
    ASSERT_TRUE(WaitForProbeRecord(record, started)) << "the stored program did not start";
    EXPECT_EQ("\"" + program + "\" -p 1 /kiosk \"D:\\Shows\\gala.shw\"", started.commandLine);
    EXPECT_EQ(temp.Path() + "show tools", started.folder);
}

TEST_F(LaunchEndToEndTest, MissingProgramIsReportedInAnErrorBox)
{
    const std::string folder = temp.Path() + "gone";
    StoreSlot(6, folder + "\\show.exe");

    DWORD processId = 0;
    const CKernelHandle process = StartProcess(RunCommandLine(6), &processId);
    ASSERT_TRUE(process);
    HWND box = windows::WaitFor([processId](HWND w) {
        return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, processId)
               && windows::Text(w) == "Error";
    });
    std::string text;
    HWND owner = nullptr;
    bool topmost = false;
    if (box != nullptr)
    {
        text = windows::MessageBoxText(box);
        owner = ::GetWindow(box, GW_OWNER);
        topmost = (::GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        windows::Press(box, IDOK);
    }
    const bool ended = ::WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0;
    if (!ended)
        ::TerminateProcess(process.get(), 1);

    ASSERT_NE(nullptr, box) << "no error box appeared";
    EXPECT_NE(nullptr, owner) << "the box belongs to the hidden countdown";
    EXPECT_TRUE(topmost) << "other programs starting at logon must not cover the box";
    EXPECT_TRUE(ended) << "the tool ends once the box is dismissed";
    const size_t pathLine = text.rfind("\nPath: ");
    ASSERT_NE(std::string::npos, pathLine) << text;
    EXPECT_EQ(folder, text.substr(pathLine + 7));
    EXPECT_FALSE(text.substr(0, pathLine).empty());
}
} // namespace
