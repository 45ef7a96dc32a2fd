#include "keep/AliveFile.h"
#include "keep/ProgramWatch.h"
#include "keep/ScreenSaverHold.h"

#include "tests/support/Probe.h"
#include "tests/support/Process.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
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
        ::Sleep(kEndedWithinMs + 2000);
        DWORD_PTR result = 0;
        for (UINT message : {WM_QUERYENDSESSION, WM_ENDSESSION})
            answered += ::SendMessageTimeoutA(window, message, message == WM_ENDSESSION, ENDSESSION_LOGOFF,
                                              SMTO_BLOCK, 3000, &result) != 0;
    });
    std::vector<DWORD> told;
    const bool waitedToTheEnd = EndProgram(session, unendable.get(), nullptr, [&](DWORD e) { told.push_back(e); });
    logoff.join();
    ::SetEvent(hold.get());
    ::WaitForSingleObject(started.get(), 10000);
    EXPECT_EQ(2, answered) << "the logoff's messages went unanswered while the end waited";
    EXPECT_FALSE(waitedToTheEnd) << "the end waited on through the logoff";
    EXPECT_EQ(std::vector<DWORD>{ERROR_ACCESS_DENIED}, told) << "what was told of the end";
}

namespace
{
ULONGLONG startTicks = 0;
// A computer asleep for three quarters of the time.
ULONGLONG AwakeAQuarter()
{
    return (::GetTickCount64() - startTicks) / 4;
}

struct WatchedProbe
{
    CKernelHandle hold;
    CKernelHandle process;
};

WatchedProbe StartProbe(TempFolder& temp, const char* mode, bool held)
{
    InstallProbe(temp.Path() + "probe.exe");
    ExpectProbeRecordAt(temp.Path() + "record.txt");
    WatchedProbe probe{CKernelHandle(::CreateEventA(nullptr, TRUE, FALSE, "KestrupWatchHold")), {}};
    ::SetEnvironmentVariableA("KESTRUP_PROBE_HOLD", held ? "KestrupWatchHold" : nullptr);
    ::SetEnvironmentVariableA("KESTRUP_PROBE_MODE", mode);
    probe.process = StartProcess("\"" + temp.Path() + "probe.exe\"");
    ::SetEnvironmentVariableA("KESTRUP_PROBE_HOLD", nullptr);
    ::SetEnvironmentVariableA("KESTRUP_PROBE_MODE", nullptr);
    ProbeRecord record;
    WaitForProbeRecord(temp.Path() + "record.txt", record);
    return probe;
}
} // namespace

// A window found not responding before a sleep and again after it has not
// been hung for the night: 30 s pass, of which the computer is awake for 7.5.
TEST(ProgramWatchTest, CountsHangTimeAwakeOnly)
{
    TempFolder temp{"watch-sleep"};
    const WatchedProbe probe = StartProbe(temp, "frozen", true);
    std::thread wake([&probe] {
        ::Sleep(30000);
        ::SetEvent(probe.hold.get());
    });
    startTicks = ::GetTickCount64();
    WatchSettings settings;
    settings.notRespondingSeconds = 10;
    settings.awakeMs = AwakeAQuarter;
    watch::CDailyRestart restart;
    const CSessionEndWindow session;
    const WatchResult watched = WatchProgram(session, probe.process.get(), nullptr, settings, restart);
    wake.join();
    EXPECT_EQ(WatchEnd::Ended, watched.end) << "ended for a hang of " << AwakeAQuarter() / 1000 << " s awake";
}

// A program that answers but ignores the request to close is ended all the same.
TEST(ProgramWatchTest, ClosingEndsAProgramThatIgnoresTheRequest)
{
    TempFolder temp{"watch-close"};
    const WatchedProbe probe = StartProbe(temp, "deaf600", false);
    for (int i = 0; i < 100 && ::FindWindowA(nullptr, "Kestrup probe") == nullptr; ++i)
        ::Sleep(100);
    ASSERT_NE(nullptr, ::FindWindowA(nullptr, "Kestrup probe")) << "the probe shows no window";
    const CSessionEndWindow session;
    EXPECT_TRUE(CloseProgram(session, probe.process.get(), nullptr, nullptr));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(probe.process.get(), 0)) << "the program still runs";
    ::TerminateProcess(probe.process.get(), 1);
}

namespace
{
// Wine finds a file on a share whose server is down missing, where Windows fails the look.
bool shareDown = false;
BOOL WINAPI LookThroughShare(LPCSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID data)
{
    return shareDown ? (::SetLastError(ERROR_BAD_NETPATH), FALSE) : ::GetFileAttributesExA(path, level, data);
}
std::vector<EXECUTION_STATE> requests;
std::vector<bool> pointerHidden;
EXECUTION_STATE WINAPI RecordRequest(EXECUTION_STATE state)
{
    requests.push_back(state);
    return ES_CONTINUOUS;
}

// Whether the screen saver is active, read by a fresh process (a process keeps its first answer).
DWORD ScreenSaverSeenAfresh(const TempFolder& temp)
{
    ::SetEnvironmentVariableA("KESTRUP_PROBE_MODE", "saver");
    const DWORD active = RunAndWait("\"" + temp.Path() + "probe.exe\"");
    ::SetEnvironmentVariableA("KESTRUP_PROBE_MODE", nullptr);
    return active;
}
} // namespace

// The display is kept on and the screen saver held off while the program
// runs, and both let go as the watch ends.
TEST(ProgramWatchTest, KeepsTheDisplayOnWhileTheProgramRunsOnly)
{
    TempFolder temp{"watch-display"};
    const WatchedProbe probe = StartProbe(temp, "", true);
    std::vector<EXECUTION_STATE> whileRunning;
    DWORD saverWhileRunning = 2;
    std::thread end([&] {
        ::Sleep(2000);
        whileRunning = requests;
        saverWhileRunning = ScreenSaverSeenAfresh(temp);
        ::SetEvent(probe.hold.get());
    });
    WatchSettings settings;
    settings.executionState = RecordRequest;
    settings.holdScreenSaverOff = true;
    watch::CDailyRestart restart;
    const CSessionEndWindow session;
    WatchProgram(session, probe.process.get(), nullptr, settings, restart);
    end.join();
    const EXECUTION_STATE on = ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED;
    EXPECT_EQ(std::vector<EXECUTION_STATE>{on}, whileRunning) << "while the program ran";
    EXPECT_EQ((std::vector<EXECUTION_STATE>{on, ES_CONTINUOUS}), requests) << "once it had ended";
    EXPECT_EQ(0u, saverWhileRunning) << "the screen saver while the program ran";
    EXPECT_EQ(1u, ScreenSaverSeenAfresh(temp)) << "the screen saver once it had ended";
}

// The holds of two slots' keepers count together: the screen saver comes
// back with the last to go, not with the first.
TEST(ScreenSaverHoldTest, ComesBackWithTheLastHoldOnly)
{
    TempFolder temp{"saver-holds"};
    InstallProbe(temp.Path() + "probe.exe");
    ExpectProbeRecordAt(temp.Path() + "record.txt");
    std::optional<CScreenSaverHold> first(true), second(true);
    first.reset();
    EXPECT_EQ(0u, ScreenSaverSeenAfresh(temp)) << "the screen saver with the second hold left";
    second.reset();
    EXPECT_EQ(1u, ScreenSaverSeenAfresh(temp)) << "the screen saver once both had gone";
}

// The pointer is hidden once still for its time, shown at a real movement (over a show in front:
// Wine tells raw input to no one while no window is), and given back as the watch ends.
TEST(ProgramWatchTest, HidesAStillPointerUntilItMoves)
{
    TempFolder temp{"watch-pointer"};
    const WatchedProbe probe = StartProbe(temp, "window8", false);
    std::vector<bool> still, moved;
    std::thread person([&] {
        ::Sleep(2000);
        still = pointerHidden;
        INPUT move = {INPUT_MOUSE, {{5, 5, 0, MOUSEEVENTF_MOVE, 0, 0}}};
        ::SendInput(1, &move, sizeof(move));
        ::Sleep(300);
        moved = pointerHidden;
    });
    WatchSettings settings;
    settings.pointerQuietMs = 1000;
    settings.hidePointer = [](bool hidden) { pointerHidden.push_back(hidden); };
    watch::CDailyRestart restart;
    const CSessionEndWindow session;
    WatchProgram(session, probe.process.get(), nullptr, settings, restart);
    person.join();
    EXPECT_EQ(std::vector<bool>{true}, still) << "hidden (true) or shown, still for 2 s";
    EXPECT_EQ((std::vector<bool>{true, false}), moved) << "hidden (true) or shown, 0.3 s after a movement";
    EXPECT_EQ((std::vector<bool>{true, false, true, false}), pointerHidden)
        << "hidden (true) or shown, still again (found at the look 5 s after the hiding) and once the watch ended";
}

// Each window of the show is told of once as it shows, and again after the displays were laid out anew.
TEST(ProgramWatchTest, TellsTheShowsWindowsAsTheyShowAndAfterADisplayChange)
{
    TempFolder temp{"watch-shown"};
    const WatchedProbe probe = StartProbe(temp, "window30", false);
    const CKernelHandle stop(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    std::vector<HWND> told;
    WatchSettings settings;
    settings.requests = {stop.get()};
    settings.onWindowShown = [&told](HWND window) { told.push_back(window); };
    const CSessionEndWindow session;
    std::thread change([&told, &stop] {
        for (int i = 0; i < 100 && told.empty(); ++i)
            ::Sleep(100);
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutA(::FindWindowA("vaxoKestrupSessionEnd", nullptr), WM_DISPLAYCHANGE, 32,
                              MAKELPARAM(800, 600), SMTO_BLOCK, 5000, &answer);
        ::Sleep(500);
        ::SetEvent(stop.get());
    });
    watch::CDailyRestart restart;
    WatchProgram(session, probe.process.get(), nullptr, settings, restart);
    change.join();
    const HWND window = ::FindWindowA(nullptr, "Kestrup probe");
    ::TerminateProcess(probe.process.get(), 1);
    EXPECT_EQ(2u, told.size()) << "windows told of";
    EXPECT_TRUE(told.size() == 2 && told[0] == told[1] && (window == nullptr || window == told[0]))
        << "the probe's window, twice";
}

// An alive file never there is told of; one whose share goes down is not frozen.
TEST(AliveFileTest, IsNeverFrozenUnseen)
{
    const TempFolder temp{"alive"};
    int told = 0;
    CAliveFile never(temp.Path() + "never.txt", 10, [&] { ++told; });
    CAliveFile shared(temp.MakeFile("alive.txt"), 10, [&] { ++told; }, LookThroughShare);
    never.Begin(0);
    shared.Begin(0);
    shareDown = true;
    EXPECT_FALSE(never.Frozen(10000) || never.Frozen(20000)) << "never there";
    EXPECT_FALSE(shared.Frozen(10000) || shared.Frozen(20000)) << "its share down";
    EXPECT_EQ(1, told) << "told of a file never there";
}
