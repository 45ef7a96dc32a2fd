#include "app/RunSwitch.h"

#include <climits>

namespace
{
bool IsSwitch(const std::string& switchName, const char* name)
{
    size_t i = 0;
    for (; i < switchName.size() && name[i] != '\0'; ++i)
    {
        char c = switchName[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != name[i])
            return false;
    }
    return i == switchName.size() && name[i] == '\0';
}
} // namespace

bool IsRunSwitch(const std::string& switchName)
{
    return IsSwitch(switchName, "run");
}

bool IsSettingsSwitch(const std::string& switchName)
{
    return IsSwitch(switchName, "settings");
}

bool IsStatusSwitch(const std::string& switchName)
{
    return IsSwitch(switchName, "status");
}

bool IsRestartSwitch(const std::string& switchName)
{
    return IsSwitch(switchName, "restart");
}

bool IsStopSwitch(const std::string& switchName)
{
    return IsSwitch(switchName, "stop");
}

bool IsViaSwitch(const std::string& switchName)
{
    return IsSwitch(switchName, "via");
}

int ReadSlotNumber(const std::string& value)
{
    size_t i = 0;
    while (i < value.size()
           && (value[i] == ' ' || value[i] == '\t' || value[i] == '\n' || value[i] == '\v'
               || value[i] == '\f' || value[i] == '\r'))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        negative = value[i++] == '-';

    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
    {
        magnitude = magnitude * 10 + (value[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}
