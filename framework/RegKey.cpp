#include "framework/RegKey.h"

#include <vector>

LONG CRegKey::QueryStringValue(const char* name, std::string& value, DWORD* valueType,
                               QueryFunction query) const
{
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG result = query(*this, name, nullptr, &type, nullptr, &size);
    std::vector<BYTE> data;
    // The value may have grown since its size was given, and the ANSI size of
    // a text under the UTF-8 code page can exceed the first answer: the read
    // is made again with the size the system reports then (or a larger one).
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA)
    {
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return ERROR_INVALID_DATA;
        // One byte more than the read may fill, so that the text always ends.
        data.assign(static_cast<size_t>(size) + 1, 0);
        DWORD readSize = size;
        result = query(*this, name, nullptr, &type, data.data(), &readSize);
        if (result != ERROR_MORE_DATA)
            break;
        size = readSize > size ? readSize : size * 2 + 2;
    }
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    value = reinterpret_cast<const char*>(data.data());
    if (valueType != nullptr)
        *valueType = type;
    return ERROR_SUCCESS;
}

LONG CRegKey::QueryDWORDValue(const char* name, DWORD& value) const
{
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD size = sizeof(data);
    const LONG result =
        ::RegQueryValueExA(*this, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_DWORD || size != sizeof(data))
        return ERROR_INVALID_DATA;
    value = data;
    return ERROR_SUCCESS;
}

LONG CRegKey::SetStringValue(const char* name, const std::string& value, DWORD type) const
{
    return ::RegSetValueExA(*this, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1));
}

LONG CRegKey::SetDWORDValue(const char* name, DWORD value) const
{
    return ::RegSetValueExA(*this, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof(value));
}
