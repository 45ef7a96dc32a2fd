#pragma once

#include "framework/Handle.h"

#include <string>

// An open registry key that closes itself. Every call returns ERROR_SUCCESS
// or the system's error code; a failed Open or Create keeps the key held
// before.
class CRegKey
{
public:
    LONG Open(HKEY parent, const char* path, REGSAM access)
    {
        HKEY opened = nullptr;
        const LONG result = ::RegOpenKeyExA(parent, path, 0, access, &opened);
        if (result == ERROR_SUCCESS)
            m_key.reset(opened);
        return result;
    }

    // REG_OPTION_VOLATILE in `options` for a key gone at the next logon.
    LONG Create(HKEY parent, const char* path, REGSAM access, DWORD options = REG_OPTION_NON_VOLATILE)
    {
        HKEY created = nullptr;
        const LONG result = ::RegCreateKeyExA(parent, path, 0, nullptr, options, access, nullptr, &created, nullptr);
        if (result == ERROR_SUCCESS)
            m_key.reset(created);
        return result;
    }

    operator HKEY() const { return m_key.get(); }

    // The system's read of a value; a test may stand in for it.
    using QueryFunction = LONG(WINAPI*)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);

    // Only REG_SZ and REG_EXPAND_SZ (not expanded; `type` tells which) count.
    // The text ends at the data's first NUL; data stored without one is
    // terminated here.
    LONG QueryStringValue(const char* name, std::string& value, DWORD* type = nullptr,
                          QueryFunction query = ::RegQueryValueExA) const;
    // Only a REG_DWORD of exactly four bytes counts.
    LONG QueryDWORDValue(const char* name, DWORD& value) const;
    // REG_SZ, or REG_EXPAND_SZ for a text that names variables.
    LONG SetStringValue(const char* name, const std::string& value, DWORD type = REG_SZ) const;
    LONG SetDWORDValue(const char* name, DWORD value) const;

private:
    CRegKeyHandle m_key;
};
