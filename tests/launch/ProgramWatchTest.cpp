#include "launch/ProgramWatch.h"

#include "tests/support/Probe.h"
#include "tests/support/Process.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
BOOL CALLBACK FindSessionWindow(HWND window, LPARAM found)
{
    if (windows::ClassName(window) == "vaxoKestrupSessionEnd")
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

// A program that does not go (here: one this handle may not end) keeps the
// end waiting, while a logoff is answered and ends the wait.
TEST(EndProgramTest, AnswersALogoffWhileItWaitsForTheProgramToGo)
{
    TempFolder temp{"watch"};
    const std::string program = temp.Path() + "probe.exe";
    InstallProbe(program);
    ExpectProbeRecordAt(temp.Path() + "record.txt");
    const CKernelHandle hold(::CreateEventA(nullptr, TRUE, FALSE, "KestrupWatchHold"));
    ::SetEnvironmentVariableA("KESTRUP_PROBE_HOLD", "KestrupWatchHold");
    DWORD id = 0;
    const CKernelHandle started = StartProcess("\"" + program + "\"", &id);
    ::SetEnvironmentVariableA("KESTRUP_PROBE_HOLD", nullptr);
    const CKernelHandle unendable(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    ASSERT_TRUE(unendable);
    const CSessionEndWindow session;
    HWND window = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindSessionWindow, reinterpret_cast<LPARAM>(&window));
    int answered = 0;
    std::thread logoff([window, &answered] {
        ::Sleep(1000);
        DWORD_PTR result = 0;
        for (UINT message : {WM_QUERYENDSESSION, WM_ENDSESSION})
            answered += ::SendMessageTimeoutA(window, message, message == WM_ENDSESSION, ENDSESSION_LOGOFF,
                                              SMTO_BLOCK, 3000, &result) != 0;
    });
    const bool waitedToTheEnd = EndProgram(session, unendable.get(), nullptr);
    logoff.join();
    ::SetEvent(hold.get());
    ::WaitForSingleObject(started.get(), 10000);
    EXPECT_EQ(2, answered) << "the logoff's messages went unanswered while the end waited";
    EXPECT_FALSE(waitedToTheEnd) << "the end waited on through the logoff";
}
} // namespace
