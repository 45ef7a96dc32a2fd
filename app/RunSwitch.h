#pragma once

#include <string>

// The switches with a meaning, in any letter case, each followed by a slot
// number: "run" starts the slot, "settings" opens its settings.
bool IsRunSwitch(const std::string& switchName);
bool IsSettingsSwitch(const std::string& switchName);
// "status" answers by the exit code whether the slot's program runs.
bool IsStatusSwitch(const std::string& switchName);
// "restart" and "stop" ask the slot's keeper in this session to do so.
bool IsRestartSwitch(const std::string& switchName);
bool IsStopSwitch(const std::string& switchName);
// "via" names who asked a run as SYSTEM that passed its command on here.
bool IsViaSwitch(const std::string& switchName);

// The slot number as atoi reads it: optional leading white space, an optional
// sign, then decimal digits up to the first other character; no digits give 0.
// Out-of-range numbers stop at INT_MIN or INT_MAX, as the runtime's atoi does.
int ReadSlotNumber(const std::string& value);
