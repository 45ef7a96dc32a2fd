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

// The program beside the uninstaller that the view's entry names: true with
// its path when the entry has one, empty when the entry names no program
// there; false when the view has no such entry.
bool DiscoverIn(REGSAM view, const char* uninstallKey, const char* fileName, std::string& path)
{
    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, uninstallKey, KEY_QUERY_VALUE | view) != ERROR_SUCCESS)
        return false;
    path.clear();
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
        return true;
    uninstallString[std::min(size, kUninstallStringBytes)] = '\0';
    const std::string program = GetPathFolder(uninstallString) + fileName;
    if (PathExists(program))
        path = program;
    return true;
}

// A 64-bit installer writes its entry to the native view only, and an older
// version may have left one in this program's own (32-bit) view: the first
// view whose entry names a program that is there counts, this program's own
// first. Without an entry in either view, the path stays as known.
void Discover(const char* uninstallKey, const char* fileName, std::string& path)
{
    std::string found;
    bool anyEntry = false;
    for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_64KEY)})
    {
        anyEntry |= DiscoverIn(view, uninstallKey, fileName, found);
        if (!found.empty())
            break;
    }
    if (anyEntry)
        path = found;
}
} // namespace

Companions DiscoverCompanions(const Companions& known)
{
    Companions found = known;
    Discover(kZentorUninstallKey, "ZENTOR.EXE", found.zentorPath);
    Discover(kOrbxPlayerUninstallKey, "ORBXPlayer.exe", found.orbxPlayerPath);
    return found;
}
