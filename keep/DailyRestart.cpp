#include "keep/DailyRestart.h"

namespace watch
{
int MinuteOfDay(const std::string& text)
{
    const size_t colon = text.find(':');
    if (colon < 1 || colon > 2 || text.size() != colon + 3)
        return -1;
    int hour = 0;
    int minute = 0;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (i == colon)
            continue;
        if (text[i] < '0' || text[i] > '9')
            return -1;
        int& part = i < colon ? hour : minute;
        part = part * 10 + (text[i] - '0');
    }
    return hour < 24 && minute < 60 ? hour * 60 + minute : -1;
}
} // namespace watch
