// Launch mode: the countdown and the start; for a slot kept running, the
// countdown and the start again whenever the program ends, for as long as the
// slot asks for it and the session lasts.
#include "app/AutostartApp.h"

#include "app/RestartGuard.h"
#include "framework/Paths.h"
#include "framework/SessionEnd.h"
#include "launch/ProgramWatch.h"
#include "framework/StringFormat.h"
#include "ui/WaitDialog.h"

#include <algorithm>

namespace
{
// Long enough for someone who closed the program on purpose to press Abort.
constexpr int kLeastDelayAgain = 10;

void ReportRestartsStopped(const std::string& program)
{
    const std::string text = FormatString(
        "%s ended %d times in a row, each time within %d seconds of its start. It is not started "
        "again until the next logon.",
        program.c_str(), CRestartGuard::kEndsInARow, static_cast<int>(CRestartGuard::kSoonMs / 1000));
    ::MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}
} // namespace

INT_PTR CAutostartApp::RunCountdown(int delay, LaunchResult& started)
{
    CWaitDialog dialog(delay, settings.appPath, settings.showPath, settings.parameter, settings.kiosk, nullptr);
    dialog.SetLaunchAction([this, delay](const LaunchCommand& command, const LaunchResult& result) {
        RecordLaunch(command, result, delay);
    });
    dialog.SetAbortAction([this](int secondsLeft) { RecordAbort(secondsLeft); });
    dialog.SetKept(settings.keepRunning);
    const INT_PTR outcome = dialog.DoModal();
    started = dialog.TakeLaunchResult();
    return outcome;
}

void CAutostartApp::RunLaunchMode()
{
    // One of this program a slot in a session: the same slot started again
    // (by a copy of its Run command in the Startup folder, say) starts nothing.
    const CKernelHandle slotRunning(
        ::CreateMutexA(nullptr, FALSE, FormatString("Local\\vaxoKestrupRun%d", slot).c_str()));
    if (!slotRunning || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return;
    // At a logoff, told before the programs it keeps, whose end is then no
    // end to answer.
    ::SetProcessShutdownParameters(0x300, 0);
    CRestartGuard guard;
    for (int delay = settings.delay;; delay = std::max(settings.delay, kLeastDelayAgain))
    {
        LaunchResult started;
        // The countdown ends with IDABORT when the session ends.
        if (RunCountdown(delay, started) != IDOK || started.error != ERROR_SUCCESS || !settings.keepRunning)
            return;
        const std::string program = Unquoted(settings.appPath);
        if (!started.process)
        {
            RecordNotKeptRunning(program);
            return;
        }
        const ULONGLONG since = ::GetTickCount64();
        const CSessionEndWindow session;
        const WatchEnd end =
            WatchProgram(session, started.process.get(), started.job.get(), settings.notRespondingSeconds);
        if (end == WatchEnd::SessionEnded)
            return;
        const ULONGLONG ranMs = ::GetTickCount64() - since;
        if (end == WatchEnd::NotResponding)
            RecordNotResponding(program, settings.notRespondingSeconds);
        DWORD exitCode = 0;
        ::GetExitCodeProcess(started.process.get(), &exitCode);
        RecordEnd(program, started.processId, exitCode, ranMs);
        // Disable, or a slot no longer kept running, ends the keeping quietly.
        if (!Store().LoadExisting(slot, settings) || settings.appPath.empty() || !settings.keepRunning)
            return;
        if (!guard.MayStartAgain(ranMs))
        {
            RecordRestartsStopped(program);
            ReportRestartsStopped(program);
            return;
        }
    }
}
