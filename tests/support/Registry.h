#pragma once

#include <windows.h>

#include <string>

// Registry set-up and checks for tests, on the real registry of the test prefix.
namespace testreg
{
extern const char kProfileKey[];   // software\vaxo\vaxo Kestrup V3.6
extern const char kCompanyKey[];   // software\vaxo
extern const char kRunKey[];

// `view` is 0 for this program's own registry view, or KEY_WOW64_64KEY.
void DeleteTree(HKEY root, const char* path, REGSAM view = 0);
// Every slot's settings and the Run value of the given slot.
void RemoveSettings(int slot);
bool KeyExists(HKEY root, const char* path);
void SetString(HKEY root, const char* path, const char* name, const std::string& value,
               DWORD type = REG_SZ, REGSAM view = 0);
void SetBytes(HKEY root, const char* path, const char* name, DWORD type, const void* data,
              DWORD size, REGSAM view = 0);
void SetDword(HKEY root, const char* path, const char* name, DWORD value);

// Type and raw bytes of a value; false when it cannot be read.
bool ReadValue(HKEY root, const char* path, const char* name, DWORD& type, std::string& data);

std::string SlotKey(int slot);

// Security descriptors for SetKeyAccess: everyone may only read, or do anything.
extern const char kReadOnly[];
extern const char kFullAccess[];
// Grants everyone the access of the descriptor's text to a key below
// HKEY_CURRENT_USER (the owner may always change it back).
void SetKeyAccess(const std::string& key, const char* descriptor);

// The six values of a slot, stored as the tool saves them.
struct SlotValues
{
    std::string appPath;
    std::string showPath;
    std::string parameter;
    DWORD kiosk;
    DWORD delay;
    DWORD mode;
};
void StoreSlot(int slot, const SlotValues& values);
} // namespace testreg
