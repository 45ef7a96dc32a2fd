#include "app/KeeperStatus.h"

#include "framework/StringFormat.h"
#include "ui/version.h"

namespace
{
constexpr char kUserAgent[] = "Kestrup/" KESTRUP_VERSION_FULL_TEXT;

// Told on the heartbeat's thread: the result in the Status key, one Warning
// when beats start failing, one Information when they succeed again. Each
// names the address without its path, which may hold a secret.
CHeartbeat::ResultAction HeartbeatReport(const CSlotStatus& status, CEventRecords records, const std::string& url)
{
    return [&status, records, url = AddressWithoutPath(url), failedBefore = false](
               bool succeeded, const std::string& reason) mutable {
        std::string result = succeeded ? "succeeding since " : "failing since ";
        result += FormatString("%s to %s", LocalTimeText().c_str(), url.c_str());
        if (!succeeded)
            result += ": ", result += reason;
        status.SetHeartbeat(result);
        if (!succeeded)
            records.RecordHeartbeatFailing(url, reason);
        else if (failedBefore)
            records.RecordHeartbeatBack(url);
        failedBefore = !succeeded;
    };
}
} // namespace

CKeeperStatus::CKeeperStatus(const std::string& slotKeyPath, const SlotSettings& settings, CEventRecords records)
    : status(slotKeyPath), records(records),
      heartbeat(settings.keepRunning ? settings.heartbeatUrl : std::string(), PeriodSeconds(settings.heartbeatSeconds),
                kUserAgent, HeartbeatReport(status, records, settings.heartbeatUrl))
{
    if (settings.keepRunning && !settings.heartbeatUrl.empty()
        && PeriodSeconds(settings.heartbeatSeconds) != settings.heartbeatSeconds)
        records.RecordHeartbeatSecondsInvalid(settings.heartbeatSeconds);
}

CKeeperStatus::~CKeeperStatus()
{
    heartbeat.SetBeating(false);
    if (status.State() != "started")
        status.Enter("stopped");
}

void CKeeperStatus::CountingDown()
{
    heartbeat.SetBeating(false);
    status.Enter(startFailed ? "start failed" : "counting down");
}

void CKeeperStatus::OffHours(const SYSTEMTIME& until)
{
    status.Enter("off hours", LocalTimeText(until));
    heartbeat.SetBeating(true);
}

void CKeeperStatus::StartTried(const LaunchResult& result, bool kept)
{
    startFailed = result.error != ERROR_SUCCESS;
    if (startFailed)
        return status.Enter("start failed");
    status.Started(result.processId);
    status.Enter(kept ? "running" : "started");
    heartbeat.SetBeating(kept);
}

void CKeeperStatus::Responding(bool responding)
{
    status.Enter(responding ? "running" : "not responding");
    heartbeat.SetBeating(responding);
}

void CKeeperStatus::Ended(DWORD exitCode)
{
    heartbeat.SetBeating(false);
    status.Ended(exitCode);
}
