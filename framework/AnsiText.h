#pragma once

#include <windows.h>

#include <string>

// Text in an ANSI code page: the system's own (CP_ACP), which on current
// Windows is UTF-8 for this program, or a double-byte one such as 932.

// Bytes of the character that starts the text (`left` bytes remain): two for a
// double-byte character, two to four for a UTF-8 sequence, else one.
size_t CharacterLength(const char* text, size_t left, UINT codePage = CP_ACP);

// Characters as the system counts them in its controls (UTF-16 units).
size_t CountCharacters(const std::string& text, UINT codePage = CP_ACP);

// The wide text in the code page; false where a character has no exact form
// there (never a replacement or a look-alike).
bool WideToAnsi(const wchar_t* text, std::string& ansi, UINT codePage = CP_ACP);
