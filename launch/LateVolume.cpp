#include "launch/LateVolume.h"

#include "framework/AnsiText.h"
#include "framework/NativeView.h"

#include <cstring>

namespace
{
bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// "\\server\share" of a path on a share; empty for any other path, and for
// the device paths "\\?\" and "\\.\".
std::string Share(const std::string& path, UINT codePage)
{
    if (path.size() < 3 || !IsSeparator(path[0]) || !IsSeparator(path[1]) || path[2] == '?' || path[2] == '.')
        return std::string();
    int separators = 0;
    size_t i = 2;
    for (; i < path.size(); i += CharacterLength(path.data() + i, path.size() - i, codePage))
        if (IsSeparator(path[i]) && ++separators == 2)
            break;
    return separators >= 1 ? std::string(path.c_str(), i) : std::string();
}

bool OnDrive(const std::string& path)
{
    return path.size() >= 3 && path[1] == ':' && IsSeparator(path[2])
           && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}
} // namespace

bool LookMayStall(const std::string& path, UINT codePage)
{
    if (!Share(path, codePage).empty())
        return true;
    char device[MAX_PATH] = "";
    if (!OnDrive(path) || ::QueryDosDeviceA(std::string(path.c_str(), 2).c_str(), device, MAX_PATH) == 0)
        return false;
    for (const char* local : {"\\Device\\HarddiskVolume", "\\Device\\CdRom", "\\Device\\Floppy"})
        if (_strnicmp(device, local, std::strlen(local)) == 0)
            return false;
    return true;
}

std::string LateVolume(const std::string& path, UINT codePage)
{
    const std::string share = Share(path, codePage);
    const bool onDrive = OnDrive(path);
    if ((share.empty() && !onDrive) || PathExists(path))
        return std::string();
    if (!share.empty())
        return share;
    switch (::GetDriveTypeA(std::string(path.c_str(), 3).c_str()))
    {
    case DRIVE_REMOTE:
    case DRIVE_REMOVABLE:
    case DRIVE_NO_ROOT_DIR:
    case DRIVE_UNKNOWN: return std::string(path.c_str(), 2);
    default: return std::string();
    }
}
