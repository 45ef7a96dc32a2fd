#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class RecordingApp : public CWinApp
{
public:
    explicit RecordingApp(BOOL initResult) : initResult(initResult) {}

    BOOL InitInstance() override
    {
        calls.push_back("InitInstance:" + m_pszAppName);
        if (initResult)
            ::PostQuitMessage(0);
        return initResult;
    }
    int Run() override
    {
        calls.push_back("Run");
        return CWinApp::Run();
    }
    int ExitInstance() override
    {
        calls.push_back("ExitInstance");
        return 42;
    }

    BOOL initResult;
    std::vector<std::string> calls;
};

TEST(AppEntryTest, TheApplicationObjectIsTheOneConstructed)
{
    ASSERT_EQ(nullptr, AfxGetApp());
    {
        CWinApp app;
        EXPECT_EQ(&app, AfxGetApp());
    }
    EXPECT_EQ(nullptr, AfxGetApp());
}

TEST(AppEntryTest, FailedInitInstanceSkipsTheMessageLoop)
{
    RecordingApp app(FALSE);
    EXPECT_EQ(42, AfxWinMain(::GetModuleHandleA(nullptr)));
    const std::vector<std::string> expected = {"InitInstance:vaxo Kestrup V3.6", "ExitInstance"};
    EXPECT_EQ(expected, app.calls);
}

TEST(AppEntryTest, SuccessfulInitInstanceRunsTheMessageLoopUntilQuit)
{
    RecordingApp app(TRUE);
    EXPECT_EQ(42, AfxWinMain(::GetModuleHandleA(nullptr)));
    const std::vector<std::string> expected = {"InitInstance:vaxo Kestrup V3.6", "Run",
                                               "ExitInstance"};
    EXPECT_EQ(expected, app.calls);
}

TEST(AppEntryTest, AGivenNameIsKept)
{
    CWinApp app("Own Name");
    app.SetCurrentHandles(::GetModuleHandleA(nullptr));
    EXPECT_EQ("Own Name", app.m_pszAppName);
    app.SetRegistryKey("company");
    EXPECT_EQ("Own Name", app.m_pszProfileName);
    EXPECT_EQ("company", app.m_pszRegistryKey);
}
} // namespace
