#include "framework/SystemMessage.h"

#include "framework/StringFormat.h"

bool GetSystemMessage(DWORD code, std::string& text)
{
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer),
        0, nullptr);
    if (length == 0 || buffer == nullptr)
        return false;
    text.assign(buffer, length);
    ::LocalFree(buffer);
    return true;
}

std::string SystemMessageOrCode(DWORD code)
{
    std::string text;
    if (GetSystemMessage(code, text))
        return text;
    return FormatString("Error %lu", code);
}
