#pragma once

#include <windows.h>

#include <string>
#include <utility>

// What a slot's /run does now, in the volatile key Status below the slot's
// key (gone at a logoff or restart): its state and since when, the process
// while it runs, the starts of this logon and how the last run ended.
// Written whole at each change, by the one /run of the slot; a slot key that
// cannot be written changes nothing else. A Status key that is not volatile
// (a copied slot's) holds nothing of this logon: it is read as none, and
// replaced by the next /run.
class CSlotStatus
{
public:
    // slotKeyPath: the slot's key below HKEY_CURRENT_USER. The count of
    // starts goes on from that of the /runs of the slot before in this logon.
    explicit CSlotStatus(std::string slotKeyPath);

    // The states scripts read; see the README. `until`: the local time the
    // state lasts until, where it has one (off hours).
    void Enter(const char* state, const std::string& until = std::string());
    const std::string& State() const { return state; }
    void Started(DWORD processId);
    void Ended(DWORD exitCode);
    // The heartbeat's last result, written alone (from the heartbeat's thread).
    void SetHeartbeat(const std::string& result) const;

    // The stored state and the line /status prints for it; false where there
    // is none.
    static bool Read(const std::string& slotKeyPath, std::string& state, std::string& line);
    // Who asks the slot's keeper (as "program, DOMAIN\user"), beside its
    // state; the keeper takes it, leaving none.
    static void SetAskedBy(const std::string& slotKeyPath, const std::string& asker);
    static std::string TakeAskedBy(const std::string& slotKeyPath);
    // The starts of this logon the slot's Status key counts (0: none, or no key).
    static DWORD Starts(const std::string& slotKeyPath);

private:
    void Write() const;

    std::string keyPath;
    std::string state;
    std::string since;
    std::string until;
    DWORD processId = 0;
    DWORD starts = 0;
    DWORD lastExitCode = 0;
    std::string lastEnd;
};

// The local time now, or the one given, as "YYYY-MM-DD HH:MM:SS".
std::string LocalTimeText();
std::string LocalTimeText(const SYSTEMTIME& at);
// A local time to come as people say it: "07:00" within a day, else with
// its day before it ("Mon 07:00").
std::string ShortTimeText(const SYSTEMTIME& at);
