#include "app/RunSwitch.h"

#include <climits>

bool IsRunSwitch(const std::string& switchName)
{
    static const char kRun[] = "run";
    if (switchName.size() != sizeof(kRun) - 1)
        return false;
    for (size_t i = 0; i < switchName.size(); ++i)
    {
        char c = switchName[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != kRun[i])
            return false;
    }
    return true;
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
