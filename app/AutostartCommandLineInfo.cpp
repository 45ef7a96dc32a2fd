#include "app/AutostartCommandLineInfo.h"

#include <cstring>

namespace
{
bool IsTrimmedSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsSwitchPrefix(char c)
{
    return c == '/' || c == '-';
}

std::string Trim(const char* text)
{
    const char* begin = text;
    while (*begin != '\0' && IsTrimmedSpace(*begin))
        ++begin;
    const char* end = begin + std::strlen(begin);
    while (end > begin && IsTrimmedSpace(end[-1]))
        --end;
    return std::string(begin, end);
}
} // namespace

CAutostartCommandLineInfo::CAutostartCommandLineInfo(const char* text)
    : commandLine(Trim(text != nullptr ? text : ""))
{
}

CAutostartCommandLineInfo::~CAutostartCommandLineInfo() = default;

// Works like strtok with the delimiter set " ", but keeps its continuation
// point in the object instead of the runtime library.
char* CAutostartCommandLineInfo::NextToken()
{
    char* position = continuation;
    if (position == nullptr)
        return nullptr;
    while (*position == ' ')
        ++position;
    if (*position == '\0')
    {
        continuation = position;
        return nullptr;
    }
    char* token = position;
    while (*position != '\0' && *position != ' ')
        ++position;
    if (*position == ' ')
    {
        *position = '\0';
        ++position;
    }
    continuation = position;
    return token;
}

bool CAutostartCommandLineInfo::GetFirstPair(std::string& switchName, std::string& value)
{
    switchName.clear();
    value.clear();

    workBuffer.reset(new char[commandLine.size() + 1]());
    std::memcpy(workBuffer.get(), commandLine.c_str(), commandLine.size());
    continuation = workBuffer.get();
    current = NextToken();
    if (current == nullptr)
        return false;

    std::string programSwitch;
    std::string programPath;
    GetNextPair(programSwitch, programPath);
    return GetNextPair(switchName, value);
}

bool CAutostartCommandLineInfo::GetNextPair(std::string& switchName, std::string& value)
{
    switchName.clear();
    value.clear();
    if (current == nullptr)
        return false;

    if (IsSwitchPrefix(*current))
    {
        ++current;
        ReadTokenValue(switchName);
        current = NextToken();
    }
    if (current != nullptr && !IsSwitchPrefix(*current))
    {
        ReadTokenValue(value);
        current = NextToken();
    }
    return true;
}

// A quoted value runs over the following tokens, joined by single spaces,
// up to the first token that ends with a double quote. When that token never
// comes the value is everything after the opening quote, and all tokens are
// consumed.
void CAutostartCommandLineInfo::ReadTokenValue(std::string& text)
{
    if (*current != '"')
    {
        text = current;
        return;
    }

    std::string joined = current + 1;
    if (joined.empty())
    {
        text.clear();
        return;
    }
    bool closed = joined.back() == '"';
    while (!closed)
    {
        char* piece = NextToken();
        if (piece == nullptr)
            break;
        current = piece;
        joined += ' ';
        joined += piece;
        closed = joined.back() == '"';
    }
    if (closed)
        joined.pop_back();
    text = joined;
}
