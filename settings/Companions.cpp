#include "settings/Companions.h"

#include "framework/AnsiText.h"
#include "framework/NativeView.h"
#include "framework/Paths.h"
#include "framework/RegKey.h"

#include <algorithm>

namespace
{
const char kZentorUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\vaxo Zentor";
const char kOrbxPlayerUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ORBX Player";

// Characters, stored terminator included; in UTF-8 each takes up to three bytes.
constexpr size_t kUninstallStringCharacters = 260;
constexpr DWORD kUninstallStringBytes = kUninstallStringCharacters * 3;

void Discover(const char* uninstallKey, const char* fileName, std::string& path)
{
    // A 64-bit installer writes its entry to the native view only; where
    // both views have one, this program's own (32-bit) view counts.
    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, uninstallKey, KEY_QUERY_VALUE) != ERROR_SUCCESS
        && key.Open(HKEY_LOCAL_MACHINE, uninstallKey, KEY_QUERY_VALUE | KEY_WOW64_64KEY) != ERROR_SUCCESS)
        return;

    // One byte more than the read may fill, so that data stored without a
    // terminating NUL still ends inside the buffer. A longer string fails the
    // read: the uninstaller's folder is never guessed from part of it.
    char uninstallString[kUninstallStringBytes + 1] = "";
    DWORD size = kUninstallStringBytes;
    if (::RegQueryValueExA(key, "UninstallString", nullptr, nullptr,
                           reinterpret_cast<BYTE*>(uninstallString), &size)
            != ERROR_SUCCESS
        || CountCharacters(std::string(uninstallString, std::min(size, kUninstallStringBytes)))
               > kUninstallStringCharacters)
    {
        path.clear();
        return;
    }
    uninstallString[std::min(size, kUninstallStringBytes)] = '\0';

    path = GetPathFolder(uninstallString) + fileName;
    if (!PathExists(path))
        path.clear();
}
} // namespace

Companions DiscoverCompanions(const Companions& known)
{
    Companions found = known;
    Discover(kZentorUninstallKey, "ZENTOR.EXE", found.zentorPath);
    Discover(kOrbxPlayerUninstallKey, "ORBXPlayer.exe", found.orbxPlayerPath);
    return found;
}
