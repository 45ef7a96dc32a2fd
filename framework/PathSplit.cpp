#include "framework/PathSplit.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr size_t kMaxDirectory = 255;
}

DriveAndDirectory SplitDriveAndDirectory(const char* path, UINT codePage)
{
    DriveAndDirectory parts;
    if (path == nullptr)
        return parts;

    const char* rest = path;
    if (path[0] != '\0' && path[1] == ':')
    {
        parts.drive.assign(path, 2);
        rest = path + 2;
    }

    size_t directoryEnd = 0;
    const size_t length = std::strlen(rest);
    for (size_t i = 0; i < length;)
    {
        const BYTE c = static_cast<BYTE>(rest[i]);
        if (i + 1 < length && ::IsDBCSLeadByteEx(codePage, c))
        {
            i += 2;
            continue;
        }
        if (c == '\\' || c == '/')
            directoryEnd = i + 1;
        ++i;
    }
    parts.directory.assign(rest, std::min(directoryEnd, kMaxDirectory));
    return parts;
}

std::string GetPathFolder(const std::string& path, UINT codePage)
{
    const DriveAndDirectory parts = SplitDriveAndDirectory(path.c_str(), codePage);
    return parts.drive + parts.directory;
}
