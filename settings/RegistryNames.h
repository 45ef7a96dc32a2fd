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

// A slot's key below the profile key: the prefix and the slot's number.
inline constexpr char kSlotPrefix[] = "Slot";
inline std::string SlotSection(int slot) { return FormatString("%s%d", kSlotPrefix, slot); }
inline std::string RunValueName(int slot) { return FormatString("vaxoAutostart%d", slot); }

// The Run value's data: this executable, quoted, asked to run the slot. A
// negative number goes in quotes too, or it would read as a switch.
inline std::string RunCommand(const std::string& exePath, int slot)
{
    if (slot < 0)
        return FormatString("\"%s\" /run \"%d\"", exePath.c_str(), slot);
    return FormatString("\"%s\" /run %d", exePath.c_str(), slot);
}
} // namespace regnames
