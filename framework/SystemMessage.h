#pragma once

#include <windows.h>

#include <string>

// The system's text for a Windows error code in the user's default language,
// exactly as the system gives it. False when the system has no text for it.
bool GetSystemMessage(DWORD code, std::string& text);

// The system's text, or "Error <code>" when the system has none, so that no
// failure goes unreported.
std::string SystemMessageOrCode(DWORD code);
