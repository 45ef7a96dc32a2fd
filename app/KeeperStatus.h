#pragma once

#include "app/EventRecords.h"
#include "keep/Heartbeat.h"
#include "launch/Launcher.h"
#include "settings/SlotSettings.h"
#include "settings/SlotStatus.h"

#include <string>

// What one /run of a slot tells outside the PC and to scripts on it: its
// state in the slot's Status key, and, for a kept slot with a HeartbeatUrl,
// the heartbeat while the program runs and responds. Made once the /run holds
// its slot; "stopped" at its end, unless a program not kept was started.
class CKeeperStatus
{
public:
    CKeeperStatus(const std::string& slotKeyPath, const SlotSettings& settings, CEventRecords records);
    ~CKeeperStatus();
    CKeeperStatus(const CKeeperStatus&) = delete;
    CKeeperStatus& operator=(const CKeeperStatus&) = delete;

    // A countdown, a wait for a late drive.
    void CountingDown();
    // Off hours until the local time given: the slot does what it should, so
    // the heartbeat goes on.
    void OffHours(const SYSTEMTIME& until);
    void WaitingForDrive() { status.Enter("waiting for drive"); }
    // The start was tried; a kept program is watched from now on.
    void StartTried(const LaunchResult& result, bool kept);
    // The watch found the show responding or not.
    void Responding(bool responding);
    // The watched program has ended.
    void Ended(DWORD exitCode);

private:
    CSlotStatus status;
    CEventRecords records;
    bool startFailed = false;
    CHeartbeat heartbeat;
};
