#include "framework/StringFormat.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

std::string FormatString(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = _vscprintf(format, measure);
    va_end(measure);

    std::string result;
    if (length > 0)
    {
        std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
        _vsnprintf(buffer.data(), buffer.size(), format, args);
        result.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
    return result;
}
