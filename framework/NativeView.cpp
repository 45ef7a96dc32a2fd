#include "framework/NativeView.h"

#include "framework/AnsiText.h"

#include <cstring>
#include <vector>

namespace
{
const char kSystem32[] = "System32";
const char kSysnative[] = "Sysnative";

// The Windows folder's subfolder `name` when `path` is it or lies below it:
// what follows it, from its backslash on; false elsewhere.
bool BelowWindowsFolder(const std::string& path, const char* name, std::string& rest)
{
    char windows[MAX_PATH] = "";
    const UINT length = ::GetSystemWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    std::string folder(windows, length);
    if (folder.back() != '\\')
        folder += '\\';
    folder += name;
    if (path.size() < folder.size() || _strnicmp(path.c_str(), folder.c_str(), folder.size()) != 0
        || (path.size() > folder.size() && path[folder.size()] != '\\'))
        return false;
    rest = path.c_str() + folder.size();
    return true;
}

std::string Replaced(const std::string& path, const char* from, const char* to)
{
    std::string rest;
    if (!BelowWindowsFolder(path, from, rest))
        return path;
    return std::string(path.c_str(), path.size() - rest.size() - std::strlen(from)) + to + rest;
}

// The variables whose meaning WOW64 changes, with the variables that keep the
// native meaning.
struct NativeVariable
{
    const char* name;
    const char* native;
};
constexpr NativeVariable kNativeVariables[] = {
    {"ProgramFiles", "ProgramW6432"},
    {"CommonProgramFiles", "CommonProgramW6432"},
};

// The text with %ProgramFiles% and %CommonProgramFiles% naming the native
// variables. Variables are read in pairs of % from the left, as the system
// reads them.
std::string WithNativeVariables(const std::string& text)
{
    std::string result;
    size_t from = 0;
    for (;;)
    {
        const size_t open = text.find('%', from);
        const size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos)
            return result.append(text.c_str() + from);
        std::string name(text.c_str() + open + 1, close - open - 1);
        for (const NativeVariable& variable : kNativeVariables)
            if (_stricmp(name.c_str(), variable.name) == 0)
                name = variable.native;
        result.append(text.c_str() + from, open - from).append("%" + name + "%");
        from = close + 1;
    }
}
} // namespace

bool IsWow64()
{
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

std::string NativeFilePath(const std::string& path)
{
    if (!IsWow64())
        return Replaced(path, kSysnative, kSystem32);
    // A 32-bit installer puts what it writes to System32 into SysWOW64, where
    // this program sees it as System32 too.
    const std::string native = Replaced(path, kSystem32, kSysnative);
    return native == path || ::GetFileAttributesA(native.c_str()) != INVALID_FILE_ATTRIBUTES
                   || ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES
               ? native
               : path;
}

std::string FolderAsSeenByAnyProgram(const std::string& folder)
{
    return Replaced(folder, kSysnative, kSystem32);
}

bool PathExists(const std::string& path)
{
    return ::GetFileAttributesA(NativeFilePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The wide call: the ANSI one counts in characters, not bytes, and may cut a
// text that takes more bytes than characters (UTF-8) short without saying so.
bool ExpandVariables(const std::string& text, std::string& expanded, ExpandFunction expand)
{
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return false;
    std::vector<wchar_t> source(static_cast<size_t>(length));
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, source.data(), length);
    std::vector<wchar_t> buffer(source.size(), L'\0');
    for (;;)
    {
        const DWORD needed = expand(source.data(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (needed == 0)
            return false;
        if (needed <= buffer.size())
            break;
        buffer.assign(needed, L'\0');
    }
    buffer.back() = L'\0';
    return WideToAnsi(buffer.data(), expanded);
}

std::string ExpandAsExplorer(const std::string& text)
{
    std::string own;
    if (!ExpandVariables(text, own))
        return text;
    if (!IsWow64() || ::GetEnvironmentVariableA("ProgramW6432", nullptr, 0) == 0)
        return own;
    std::string native;
    if (!ExpandVariables(WithNativeVariables(text), native) || native == own)
        return own;
    return !PathExists(native) && PathExists(own) ? own : native;
}
