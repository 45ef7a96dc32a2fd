#pragma once

#include "framework/EventLog.h"
#include "launch/Launcher.h"
#include "settings/SlotSettings.h"

#include <string>

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
    void RecordAbort(int secondsLeft);
    void RecordSave(const SlotSettings& values, const std::string& failure);

private:
    CEventLog& eventLog;
    int slot;
};
