#pragma once

#include <string>

// Every name the slot store uses in the registry.
namespace regnames
{
// The company key below HKEY_CURRENT_USER\software; the profile key below it is
// named after the application's title.
extern const char kCompanyKey[];
extern const char kRunKey[];  // below HKEY_CURRENT_USER

extern const char kAppPath[];
extern const char kShowPath[];
extern const char kParameter[];
extern const char kKiosk[];
extern const char kDelay[];
extern const char kMode[];

std::string SlotSection(int slot);   // "Slot<N>" below the profile key
std::string RunValueName(int slot);  // "vaxoAutostart<N>" in the Run key
// The Run value's data: this executable, quoted, asked to run the slot.
std::string RunCommand(const std::string& exePath, int slot);
} // namespace regnames
