#pragma once

#include <windows.h>

#include <string>

// Registry set-up and checks for tests, on the real registry of the test prefix.
namespace testreg
{
extern const char kProfileKey[];   // software\vaxo\vaxo Kestrup V3.6
extern const char kCompanyKey[];   // software\vaxo
extern const char kRunKey[];

void DeleteTree(HKEY root, const char* path);
// Every slot's settings and the Run value of the given slot.
void RemoveSettings(int slot);
bool KeyExists(HKEY root, const char* path);
void SetString(HKEY root, const char* path, const char* name, const std::string& value,
               DWORD type = REG_SZ);
void SetBytes(HKEY root, const char* path, const char* name, DWORD type, const void* data,
              DWORD size);
void SetDword(HKEY root, const char* path, const char* name, DWORD value);

// Type and raw bytes of a value; false when it cannot be read.
bool ReadValue(HKEY root, const char* path, const char* name, DWORD& type, std::string& data);

std::string SlotKey(int slot);

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
