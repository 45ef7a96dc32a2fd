#include "app/LaunchMode.h"

#include "app/RestartGuard.h"
#include "framework/Paths.h"
#include "framework/SessionEnd.h"
#include "framework/StringFormat.h"
#include "launch/ProgramWatch.h"
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

INT_PTR CLaunchMode::RunCountdown(int delay, LaunchResult& started)
{
    CWaitDialog dialog(delay, settings.appPath, settings.showPath, settings.parameter, settings.kiosk, nullptr);
    dialog.SetLaunchAction([this, delay](const LaunchCommand& command, const LaunchResult& result) {
        records.RecordLaunch(command, result, delay);
    });
    dialog.SetAbortAction([this](int secondsLeft) { records.RecordAbort(secondsLeft); });
    dialog.SetKept(settings.keepRunning);
    const INT_PTR outcome = dialog.DoModal();
    started = dialog.TakeLaunchResult();
    return outcome;
}

void CLaunchMode::Run()
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
            records.RecordNotKeptRunning(program);
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
            records.RecordNotResponding(program, settings.notRespondingSeconds);
        DWORD exitCode = 0;
        ::GetExitCodeProcess(started.process.get(), &exitCode);
        records.RecordEnd(program, started.processId, exitCode, ranMs);
        // Disable, or a slot no longer kept running, ends the keeping quietly.
        if (!store.LoadExisting(slot, settings) || settings.appPath.empty() || !settings.keepRunning)
            return;
        if (!guard.MayStartAgain(ranMs))
        {
            records.RecordRestartsStopped(program);
            ReportRestartsStopped(program);
            return;
        }
    }
}
