#include "framework/Paths.h"

#include <algorithm>
#include <cstring>
#include <vector>

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

namespace
{
// Wide strings stay plain arrays here: std::wstring would link the runtime's
// whole wide-string support into the program.
bool ToAnsi(const wchar_t* text, std::string& ansi)
{
    if (text[0] == L'\0')
        return false;
    BOOL lossy = FALSE;
    const int size =
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy)
        return false;
    std::vector<char> buffer(static_cast<size_t>(size));
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, buffer.data(), size, nullptr,
                          nullptr);
    ansi.assign(buffer.data());
    return true;
}
} // namespace

std::string AnsiPath(const wchar_t* path)
{
    std::string ansi;
    if (ToAnsi(path, ansi))
        return ansi;
    const DWORD size = ::GetShortPathNameW(path, nullptr, 0);
    if (size == 0)
        return std::string();
    std::vector<wchar_t> shortPath(size + 1, L'\0');
    if (::GetShortPathNameW(path, shortPath.data(), size + 1) == 0)
        return std::string();
    return ToAnsi(shortPath.data(), ansi) ? ansi : std::string();
}

std::string GetPathFolder(const std::string& path, UINT codePage)
{
    const DriveAndDirectory parts = SplitDriveAndDirectory(path.c_str(), codePage);
    return parts.drive + parts.directory;
}
