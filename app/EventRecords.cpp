// What the application writes to the Application event log: one entry for
// every start, abort and failure at logon and for every save, so that an
// administrator can see later what happened on a PC nobody watched.
#include "app/EventRecords.h"

#include "EventMessages.h"
#include "keep/ProgramWatch.h"
#include "keep/RestartGuard.h"
#include "keep/WatchRules.h"
#include "framework/Paths.h"
#include "framework/SessionTimes.h"
#include "framework/StringFormat.h"
#include "framework/SystemMessage.h"

namespace
{
std::string Number(long long value)
{
    return FormatString("%I64d", value);
}

const char* KindName(AppType type)
{
    switch (type)
    {
    case AppType::Zentor: return "Zentor";
    case AppType::OrbxPlayer: return "ORBX Player";
    case AppType::UserDefined: return "User Defined";
    default: return "Disable";
    }
}
const char* OutsideJobText(LaunchResult::OutsideJob why)
{
    switch (why)
    {
    case LaunchResult::OutsideJob::Refused:
        return " Only this process is watched: Windows did not let it be put in a job that holds the processes "
               "it starts.";
    case LaunchResult::OutsideJob::AlreadyEnded:
        return " Its process had already ended when it was to be put in a job (it handed the file on): what it "
               "started is not watched.";
    default: return "";
    }
}
} // namespace

std::string SinceLogonText(long long logonTime, long long currentTime)
{
    if (logonTime <= 0 || currentTime < logonTime)
        return "";
    return FormatString(" That was %I64d seconds after the user's logon.", (currentTime - logonTime) / 10000000);
}

// Windows holds logon programs back while the PC is busy: the entry says how
// late the start came.
void CEventRecords::RecordLaunch(const LaunchCommand& command, const LaunchResult& result, int delay)
{
    if (result.error != ERROR_SUCCESS)
    {
        eventLog.Report(EVENTLOG_ERROR_TYPE, MSG_START_FAILED,
                        {Number(slot).c_str(), command.program.c_str(), result.folder.c_str(),
                         StartFailureText(result.error, command.program).c_str()});
        return;
    }
    long long logonTime = 0;
    long long currentTime = 0;
    QuerySessionTimes(logonTime, currentTime);
    eventLog.Report(EVENTLOG_INFORMATION_TYPE, MSG_PROGRAM_STARTED,
                    {Number(slot).c_str(), command.commandLine.c_str(), result.folder.c_str(), Number(delay).c_str(),
                     Number(result.processId).c_str(), OutsideJobText(result.outsideJob),
                     SinceLogonText(logonTime, currentTime).c_str()});
}

void CEventRecords::RecordEnd(const std::string& program, DWORD processId, DWORD exitCode,
                              unsigned long long ranMs)
{
    eventLog.Report(EVENTLOG_INFORMATION_TYPE, MSG_PROGRAM_ENDED,
                    {Number(slot).c_str(), program.c_str(), Number(processId).c_str(),
                     FormatString("%lu (0x%08lX)", exitCode, exitCode).c_str(),
                     Number(static_cast<long long>(ranMs / 1000)).c_str()});
}

void CEventRecords::RecordQuickEnds(const std::string& program, int count, int nextDelay)
{
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_QUICK_ENDS,
                    {Number(slot).c_str(), program.c_str(), Number(count).c_str(),
                     Number(static_cast<long long>(CRestartGuard::kSoonMs / 1000)).c_str(), Number(nextDelay).c_str(),
                     Number(CRestartGuard::kLongestDelay).c_str()});
}

void CEventRecords::RecordPlannedRestart(const std::string& program, const std::string& time)
{
    eventLog.Report(EVENTLOG_INFORMATION_TYPE, MSG_PLANNED_RESTART,
                    {Number(slot).c_str(), program.c_str(), time.c_str()});
}

void CEventRecords::RecordRestartTimeInvalid(const std::string& value)
{
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_RESTART_TIME_INVALID, {Number(slot).c_str(), value.c_str()});
}

void CEventRecords::RecordHeartbeatSecondsInvalid(unsigned long seconds)
{
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_HEARTBEAT_SECONDS_INVALID,
                    {Number(slot).c_str(), Number(seconds).c_str()});
}

void CEventRecords::RecordHeartbeatFailing(const std::string& address, const std::string& reason)
{
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_HEARTBEAT_FAILING,
                    {Number(slot).c_str(), address.c_str(), reason.c_str()});
}

void CEventRecords::RecordHeartbeatBack(const std::string& address)
{
    eventLog.Report(EVENTLOG_INFORMATION_TYPE, MSG_HEARTBEAT_BACK, {Number(slot).c_str(), address.c_str()});
}

void CEventRecords::RecordRequestTaken(const std::string& request, const std::string& asker)
{
    eventLog.Report(EVENTLOG_INFORMATION_TYPE, MSG_REQUEST_TAKEN,
                    {Number(slot).c_str(), request.c_str(), asker.c_str()});
}

void CEventRecords::RecordShowHoursInvalid(const std::string& text, const std::string& wrong)
{
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_SHOW_HOURS_INVALID, {Number(slot).c_str(), text.c_str(), wrong.c_str()});
}

void CEventRecords::RecordOffHoursBegin(const std::string& program, const std::string& until)
{
    eventLog.Report(EVENTLOG_INFORMATION_TYPE, MSG_OFF_HOURS_BEGIN,
                    {Number(slot).c_str(), program.c_str(), until.c_str()});
}

void CEventRecords::RecordShowHoursBegin(const std::string& until)
{
    eventLog.Report(EVENTLOG_INFORMATION_TYPE, MSG_SHOW_HOURS_BEGIN, {Number(slot).c_str(), until.c_str()});
}

void CEventRecords::RecordNotKeptRunning(const std::string& program)
{
    eventLog.Report(EVENTLOG_INFORMATION_TYPE, MSG_NOT_KEPT_RUNNING, {Number(slot).c_str(), program.c_str()});
}

void CEventRecords::RecordNotResponding(const std::string& program, unsigned seconds)
{
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_NOT_RESPONDING,
                    {Number(slot).c_str(), program.c_str(), Number(seconds).c_str()});
}

void CEventRecords::RecordAliveFileStale(const std::string& program, const std::string& file, unsigned seconds)
{
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_ALIVE_FILE_STALE,
                    {Number(slot).c_str(), program.c_str(), file.c_str(), Number(seconds).c_str()});
}

void CEventRecords::RecordAliveFileNeverWritten(const std::string& program, const std::string& file,
                                                unsigned seconds)
{
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_ALIVE_FILE_NEVER_WRITTEN,
                    {Number(slot).c_str(), program.c_str(), file.c_str(), Number(seconds).c_str()});
}

void CEventRecords::RecordNotEnded(const std::string& program, DWORD error)
{
    std::string why = error == ERROR_SUCCESS
                          ? FormatString("it was still there %lu seconds after it was ended", kEndedWithinMs / 1000)
                          : FormatString("Windows refused: %s", SystemMessageOrCode(error).c_str());
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == '.'))
        why.pop_back();
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_NOT_ENDED,
                    {Number(slot).c_str(), program.c_str(), why.c_str(),
                     Number(static_cast<long long>(watch::kCheckMs / 1000)).c_str()});
}

void CEventRecords::RecordStartAfterLate(int otherSlot, int seconds)
{
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_START_AFTER_LATE,
                    {Number(slot).c_str(), Number(otherSlot).c_str(), Number(seconds).c_str()});
}

void CEventRecords::RecordAbort(int secondsLeft)
{
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_COUNTDOWN_ABORTED, {Number(slot).c_str(), Number(secondsLeft).c_str()});
}

void CEventRecords::RecordSave(const SlotSettings& values, const std::string& failure)
{
    if (!failure.empty())
        eventLog.Report(EVENTLOG_ERROR_TYPE, MSG_SAVE_FAILED, {Number(slot).c_str(), failure.c_str()});
    else if (values.appType == AppType::Disable)
        eventLog.Report(EVENTLOG_INFORMATION_TYPE, MSG_SLOT_REMOVED, {Number(slot).c_str()});
    else
        eventLog.Report(EVENTLOG_INFORMATION_TYPE, MSG_SLOT_SAVED,
                        {Number(slot).c_str(), KindName(values.appType), Unquoted(values.appPath).c_str()});
}

void CEventRecords::RecordCoverPictureUnreadable(const std::string& path)
{
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_COVER_PICTURE_UNREADABLE, {Number(slot).c_str(), path.c_str()});
}

void CEventRecords::RecordMonitorMissing(int number)
{
    eventLog.Report(EVENTLOG_WARNING_TYPE, MSG_MONITOR_MISSING, {Number(slot).c_str(), Number(number).c_str()});
}
