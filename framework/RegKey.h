#pragma once

#include <windows.h>

// An open registry key that closes itself.
class CRegKey
{
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }

    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    LONG Open(HKEY parent, const char* path, REGSAM access)
    {
        Close();
        return ::RegOpenKeyExA(parent, path, 0, access, &m_hKey);
    }

    LONG Create(HKEY parent, const char* path, REGSAM access)
    {
        Close();
        return ::RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                 nullptr, &m_hKey, nullptr);
    }

    void Close()
    {
        if (m_hKey != nullptr)
            ::RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }

    operator HKEY() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};
