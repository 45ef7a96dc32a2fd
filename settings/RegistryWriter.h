#pragma once

#include "framework/RegKey.h"

// Every value the slot store writes goes through here. Each call returns
// ERROR_SUCCESS or the system's error code.
class CRegistryWriter
{
public:
    virtual ~CRegistryWriter() = default;

    virtual LONG SetString(const CRegKey& key, const char* name, const std::string& value, DWORD type = REG_SZ)
    {
        return key.SetStringValue(name, value, type);
    }
    virtual LONG SetDword(const CRegKey& key, const char* name, DWORD value)
    {
        return key.SetDWORDValue(name, value);
    }
    // A value that is not there is removed already.
    virtual LONG DeleteValue(const CRegKey& key, const char* name)
    {
        const LONG result = ::RegDeleteValueA(key, name);
        return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
    }
};
