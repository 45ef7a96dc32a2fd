#pragma once

#include "framework/StringFormat.h"

#include <string>

// Every name the slot store uses in the registry.
namespace regnames
{
// Below HKEY_CURRENT_USER\software; the profile key below it is named after
// the application's title.
inline constexpr char kCompanyKey[] = "vaxo";
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Where Windows keeps the user's "Disabled" choice for a Run value, by its name.
inline constexpr char kStartupApprovedRunKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// The program's source in the Application event log, and so its key below
// HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\EventLog\Application,
// which the installer package makes.
inline constexpr char kEventSource[] = "vaxo Kestrup";

inline constexpr char kAppPath[] = "AppPath";
inline constexpr char kShowPath[] = "ShowPath";
inline constexpr char kParameter[] = "Parameter";
inline constexpr char kKiosk[] = "Kiosk";
inline constexpr char kDelay[] = "Delay";
inline constexpr char kMode[] = "Mode";
inline constexpr char kKeepRunning[] = "KeepRunning";
inline constexpr char kNotRespondingSeconds[] = "NotRespondingSeconds";
inline constexpr char kWindowsErrorReporting[] = "WindowsErrorReporting";
inline constexpr char kRestartDaily[] = "RestartDaily";
inline constexpr char kAliveFile[] = "AliveFile";
inline constexpr char kAliveSeconds[] = "AliveSeconds";
inline constexpr char kKeepDisplayOn[] = "KeepDisplayOn";
inline constexpr char kStartAfter[] = "StartAfter";
inline constexpr char kHeartbeatUrl[] = "HeartbeatUrl";
inline constexpr char kHeartbeatSeconds[] = "HeartbeatSeconds";
inline constexpr char kCover[] = "Cover";
inline constexpr char kCoverPicture[] = "CoverPicture";
inline constexpr char kMonitor[] = "Monitor";
inline constexpr char kHideCursor[] = "HideCursor";
inline constexpr char kShowHours[] = "ShowHours";
inline constexpr char kOffHoursDisplay[] = "OffHoursDisplay";

// A volatile key below a slot's key: what its /run does now.
inline constexpr char kStatusKey[] = "Status";
inline constexpr char kState[] = "State";
inline constexpr char kSince[] = "Since";
inline constexpr char kUntil[] = "Until";
inline constexpr char kProcessId[] = "ProcessId";
inline constexpr char kStarts[] = "Starts";
inline constexpr char kLastExitCode[] = "LastExitCode";
inline constexpr char kLastEnd[] = "LastEnd";
inline constexpr char kHeartbeat[] = "Heartbeat";
// Who asked the slot's keeper for the request it is signalled, written by the asker.
inline constexpr char kAskedBy[] = "AskedBy";

// A slot's key below the profile key: the prefix and the slot's number.
inline constexpr char kSlotPrefix[] = "Slot";
inline std::string SlotSection(int slot) { return FormatString("%s%d", kSlotPrefix, slot); }
// A registered slot's value in the Run key: the prefix and the slot's number.
inline constexpr char kRunValuePrefix[] = "vaxoAutostart";
inline std::string RunValueName(int slot) { return FormatString("%s%d", kRunValuePrefix, slot); }
inline std::string StatusSection(int slot) { return SlotSection(slot) + "\\" + kStatusKey; }
// Held by the one /run of a slot in a session while it runs.
inline std::string RunMutexName(int slot) { return FormatString("Local\\vaxoKestrupRun%d", slot); }
// Made by that /run while it keeps the slot's program: a request of the
// session's user to restart, or to stop, the program, and its answer that the
// request was taken.
inline std::string RestartEventName(int slot) { return FormatString("Local\\vaxoKestrupRestart%d", slot); }
inline std::string StopEventName(int slot) { return FormatString("Local\\vaxoKestrupStop%d", slot); }
inline std::string TakenEventName(int slot) { return FormatString("Local\\vaxoKestrupTaken%d", slot); }

// The Run value's data: this executable, quoted, asked to run the slot. A
// negative number goes in quotes too, or it would read as a switch.
inline std::string RunCommand(const std::string& exePath, int slot)
{
    if (slot < 0)
        return FormatString("\"%s\" /run \"%d\"", exePath.c_str(), slot);
    return FormatString("\"%s\" /run %d", exePath.c_str(), slot);
}
} // namespace regnames
