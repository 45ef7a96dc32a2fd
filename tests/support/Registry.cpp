#include "tests/support/Registry.h"

#include "framework/RegKey.h"
#include "framework/StringFormat.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <vector>

namespace testreg
{
const char kProfileKey[] = "software\\vaxo\\vaxo Kestrup V3.6";
const char kCompanyKey[] = "software\\vaxo";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void DeleteTree(HKEY root, const char* path, REGSAM view)
{
    CRegKey key;
    LONG result = key.Open(root, path, KEY_ALL_ACCESS | view);
    if (result == ERROR_SUCCESS)
        result = ::RegDeleteTreeA(key, nullptr);
    if (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND)
        ::RegDeleteKeyExA(root, path, view, 0);
    else
        ADD_FAILURE() << "RegDeleteTreeA(" << path << ") returned " << result;
}

void RemoveSettings(int slot)
{
    DeleteTree(HKEY_CURRENT_USER, kCompanyKey);
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, FormatString("vaxoAutostart%d", slot).c_str());
}

bool KeyExists(HKEY root, const char* path)
{
    CRegKey key;
    return key.Open(root, path, KEY_READ) == ERROR_SUCCESS;
}

void SetBytes(HKEY root, const char* path, const char* name, DWORD type, const void* data,
              DWORD size, REGSAM view)
{
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(root, path, KEY_WRITE | view)) << path;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size))
        << path << "\\" << name;
}

void SetString(HKEY root, const char* path, const char* name, const std::string& value, DWORD type,
               REGSAM view)
{
    SetBytes(root, path, name, type, value.c_str(), static_cast<DWORD>(value.size() + 1), view);
}

void SetDword(HKEY root, const char* path, const char* name, DWORD value)
{
    SetBytes(root, path, name, REG_DWORD, &value, sizeof(value));
}

bool ReadValue(HKEY root, const char* path, const char* name, DWORD& type, std::string& data)
{
    CRegKey key;
    if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::vector<BYTE> bytes(size);
    if (::RegQueryValueExA(key, name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS)
        return false;
    data.assign(bytes.begin(), bytes.begin() + size);
    return true;
}

const char kReadOnly[] = "D:P(A;;KR;;;WD)";
const char kFullAccess[] = "D:(A;;KA;;;WD)";

void SetKeyAccess(const std::string& key, const char* descriptor)
{
    CRegKeyHandle opened;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, WRITE_DAC, opened.put()));
    CLocalMemory security;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(
        descriptor, SDDL_REVISION_1, reinterpret_cast<PSECURITY_DESCRIPTOR*>(security.put()), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetKeySecurity(opened.get(), DACL_SECURITY_INFORMATION, security.get()));
}

std::string SlotKey(int slot)
{
    return FormatString("%s\\Slot%d", kProfileKey, slot);
}

void StoreSlot(int slot, const SlotValues& values)
{
    const std::string key = SlotKey(slot);
    SetString(HKEY_CURRENT_USER, key.c_str(), "AppPath", values.appPath);
    SetString(HKEY_CURRENT_USER, key.c_str(), "ShowPath", values.showPath);
    SetString(HKEY_CURRENT_USER, key.c_str(), "Parameter", values.parameter);
    SetDword(HKEY_CURRENT_USER, key.c_str(), "Kiosk", values.kiosk);
    SetDword(HKEY_CURRENT_USER, key.c_str(), "Delay", values.delay);
    SetDword(HKEY_CURRENT_USER, key.c_str(), "Mode", values.mode);
}
} // namespace testreg
