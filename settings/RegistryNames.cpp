#include "settings/RegistryNames.h"

#include "framework/StringFormat.h"

namespace regnames
{
const char kCompanyKey[] = "vaxo";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

const char kAppPath[] = "AppPath";
const char kShowPath[] = "ShowPath";
const char kParameter[] = "Parameter";
const char kKiosk[] = "Kiosk";
const char kDelay[] = "Delay";
const char kMode[] = "Mode";

std::string SlotSection(int slot)
{
    return FormatString("Slot%d", slot);
}

std::string RunValueName(int slot)
{
    return FormatString("vaxoAutostart%d", slot);
}

std::string RunCommand(const std::string& exePath, int slot)
{
    return FormatString("\"%s\" /run %d", exePath.c_str(), slot);
}
} // namespace regnames
