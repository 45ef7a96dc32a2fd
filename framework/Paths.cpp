#include "framework/Paths.h"

#include "framework/AnsiText.h"

#include <cstring>
#include <cwchar>
#include <vector>

namespace
{
constexpr size_t kMaxDirectoryCharacters = 255;
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
    size_t cut = 0;  // the end of the first 255 characters
    size_t characters = 0;
    const size_t length = std::strlen(rest);
    for (size_t i = 0; i < length;)
    {
        const size_t step = CharacterLength(rest + i, length - i, codePage);
        if (step == 1 && (rest[i] == '\\' || rest[i] == '/'))
            directoryEnd = i + 1;
        i += step;
        if (++characters <= kMaxDirectoryCharacters)
            cut = i;
    }
    parts.directory.assign(rest, directoryEnd < cut ? directoryEnd : cut);
    return parts;
}

std::string GetPathFolder(const std::string& path, UINT codePage)
{
    const DriveAndDirectory parts = SplitDriveAndDirectory(path.c_str(), codePage);
    return parts.drive + parts.directory;
}

std::string FileName(const std::string& path, UINT codePage)
{
    size_t start = 0;
    for (size_t i = 0; i < path.size();)
    {
        const size_t step = CharacterLength(path.data() + i, path.size() - i, codePage);
        i += step;
        if (step == 1 && (path[i - 1] == '\\' || path[i - 1] == '/'))
            start = i;
    }
    return std::string(path.c_str() + start);
}

std::string Unquoted(const std::string& path)
{
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"'
        && path.find('"', 1) == path.size() - 1)
        return path.substr(1, path.size() - 2);
    return path;
}

// Wide strings stay plain arrays here: std::wstring would link the runtime's
// whole wide-string support into the program.
std::string AnsiPath(const wchar_t* path, UINT codePage)
{
    std::string ansi;
    if (path[0] == L'\0')
        return ansi;
    const bool fits = WideToAnsi(path, ansi, codePage);
    if (fits && std::wcslen(path) < MAX_PATH)
        return ansi;
    const DWORD size = ::GetShortPathNameW(path, nullptr, 0);
    std::vector<wchar_t> shortPath(size + 1, L'\0');
    std::string shortAnsi;
    if (size != 0 && ::GetShortPathNameW(path, shortPath.data(), size + 1) != 0
        && WideToAnsi(shortPath.data(), shortAnsi, codePage)
        && (!fits || std::wcslen(shortPath.data()) < MAX_PATH))
        return shortAnsi;
    return fits ? ansi : std::string();
}
