#include "keep/ProgramWatch.h"

#include "tests/support/Probe.h"
#include "tests/support/Process.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <thread>

// A program that does not go (here: one this handle may not end) keeps the
// end waiting, while a logoff is answered and ends the wait.
TEST(EndProgramTest, AnswersALogoffWhileItWaitsForTheProgramToGo)
{
    TempFolder temp{"watch"};
    InstallProbe(temp.Path() + "probe.exe");
    ExpectProbeRecordAt(temp.Path() + "record.txt");
    const CKernelHandle hold(::CreateEventA(nullptr, TRUE, FALSE, "KestrupWatchHold"));
    ::SetEnvironmentVariableA("KESTRUP_PROBE_HOLD", "KestrupWatchHold");
    DWORD id = 0;
    const CKernelHandle started = StartProcess("\"" + temp.Path() + "probe.exe\"", &id);
    ::SetEnvironmentVariableA("KESTRUP_PROBE_HOLD", nullptr);
    const CKernelHandle unendable(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    const CSessionEndWindow session;
    const HWND window = ::FindWindowA("vaxoKestrupSessionEnd", nullptr);
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
