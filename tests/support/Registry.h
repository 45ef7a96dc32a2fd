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
bool KeyExists(HKEY root, const char* path);
void SetString(HKEY root, const char* path, const char* name, const std::string& value,
               DWORD type = REG_SZ);
void SetBytes(HKEY root, const char* path, const char* name, DWORD type, const void* data,
              DWORD size);
void SetDword(HKEY root, const char* path, const char* name, DWORD value);

// Type and raw bytes of a value; false when it cannot be read.
bool ReadValue(HKEY root, const char* path, const char* name, DWORD& type, std::string& data);

std::string SlotKey(int slot);
} // namespace testreg
