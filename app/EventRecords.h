#pragma once

#include "framework/EventLog.h"
#include "launch/Launcher.h"
#include "settings/SlotSettings.h"

#include <string>

// The start's words on how long after the user's logon it came; none where
// the logon time is not known (0) or lies after the time it is compared with.
std::string SinceLogonText(long long logonTime, long long currentTime);

// One slot's entries in the Application event log; none is ever in the way
// of what it records.
class CEventRecords
{
public:
    CEventRecords(CEventLog& log, int slot) : eventLog(log), slot(slot) {}

    void RecordLaunch(const LaunchCommand& command, const LaunchResult& result, int delay);
    void RecordEnd(const std::string& program, DWORD processId, DWORD exitCode, unsigned long long ranMs);
    void RecordQuickEnds(const std::string& program, int count, int nextDelay);
    void RecordPlannedRestart(const std::string& program, const std::string& time);
    void RecordRestartTimeInvalid(const std::string& value);
    void RecordNotKeptRunning(const std::string& program);
    void RecordNotResponding(const std::string& program, unsigned seconds);
    void RecordAliveFileStale(const std::string& program, const std::string& file, unsigned seconds);
    void RecordAliveFileNeverWritten(const std::string& program, const std::string& file, unsigned seconds);
    // `error` ERROR_SUCCESS: the program was still there after it was ended.
    void RecordNotEnded(const std::string& program, DWORD error);
    void RecordStartAfterLate(int otherSlot, int seconds);
    void RecordAbort(int secondsLeft);
    void RecordHeartbeatSecondsInvalid(unsigned long seconds);
    // address: the heartbeat's URL without its path (see AddressWithoutPath).
    void RecordHeartbeatFailing(const std::string& address, const std::string& reason);
    void RecordHeartbeatBack(const std::string& address);
    // request: "restart" or "stop"; asker: "program, DOMAIN\user".
    void RecordRequestTaken(const std::string& request, const std::string& asker);
    // wrong: what keeps ShowHours' text from being read (hours::Parse).
    void RecordShowHoursInvalid(const std::string& text, const std::string& wrong);
    // until: the local time of the next begin, "07:00" or "Mon 07:00".
    void RecordOffHoursBegin(const std::string& program, const std::string& until);
    void RecordShowHoursBegin(const std::string& until);
    void RecordSave(const SlotSettings& values, const std::string& failure);

private:
    CEventLog& eventLog;
    int slot;
};
