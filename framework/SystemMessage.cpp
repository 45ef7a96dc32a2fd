#include "framework/SystemMessage.h"

#include "framework/Handle.h"
#include "framework/StringFormat.h"

bool GetSystemMessage(DWORD code, std::string& text)
{
    CLocalMemory buffer;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<char*>(buffer.put()), 0, nullptr);
    if (length == 0 || !buffer)
        return false;
    text.assign(static_cast<const char*>(buffer.get()), length);
    return true;
}

std::string SystemMessageOrCode(DWORD code)
{
    std::string text;
    if (GetSystemMessage(code, text))
        return text;
    return FormatString("Error %lu", code);
}
