#pragma once

#include <string>

// The one switch with a meaning: "run" followed by the slot number.
bool IsRunSwitch(const std::string& switchName);

// The slot number as atoi reads it: optional leading white space, an optional
// sign, then decimal digits up to the first other character; no digits give 0.
// Out-of-range numbers stop at INT_MIN or INT_MAX, as the runtime's atoi does.
int ReadSlotNumber(const std::string& value);
