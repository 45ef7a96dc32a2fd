#include "app/AutostartApp.h"

#include "framework/RegKey.h"
#include "framework/StringFormat.h"
#include "settings/PathSplit.h"

#include <io.h>

#include <algorithm>

namespace
{
const char kZentorUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\vaxo Zentor";
const char kOrbxPlayerUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ORBX Player";

constexpr DWORD kUninstallStringSize = 260;

// The companion's executable beside its uninstaller, or empty when it is not
// there. A missing uninstall key leaves the path as it was.
void DiscoverCompanion(const char* uninstallKey, const char* fileName, std::string& path)
{
    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, uninstallKey, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return;

    // One byte more than the read may fill, so that data stored without a
    // terminating NUL still ends inside the buffer.
    char uninstallString[kUninstallStringSize + 1] = "";
    DWORD size = kUninstallStringSize;
    if (::RegQueryValueExA(key, "UninstallString", nullptr, nullptr,
                           reinterpret_cast<BYTE*>(uninstallString), &size)
        != ERROR_SUCCESS)
    {
        path.clear();
        return;
    }
    uninstallString[std::min<DWORD>(size, kUninstallStringSize)] = '\0';

    path = CAutostartApp::GetPathFolder(uninstallString) + fileName;
    if (_access(path.c_str(), 0) != 0)
        path.clear();
}
} // namespace

std::string CAutostartApp::GetPathFolder(const std::string& path)
{
    const DriveAndDirectory parts = SplitDriveAndDirectory(path.c_str(), CP_ACP);
    return parts.drive + parts.directory;
}

void CAutostartApp::LoadSettings()
{
    DiscoverCompanion(kZentorUninstallKey, "ZENTOR.EXE", zentorPath);
    DiscoverCompanion(kOrbxPlayerUninstallKey, "ORBXPlayer.exe", orbxPlayerPath);

    const std::string section = FormatString("Slot%d", slot);
    appPath = GetProfileString(section.c_str(), "AppPath");
    showPath = GetProfileString(section.c_str(), "ShowPath");
    parameter = GetProfileString(section.c_str(), "Parameter");
    kiosk = static_cast<int>(GetProfileInt(section.c_str(), "Kiosk", 0));
    delay = static_cast<int>(GetProfileInt(section.c_str(), "Delay", 20));
    appType = static_cast<int>(GetProfileInt(section.c_str(), "Mode", 0));
}
