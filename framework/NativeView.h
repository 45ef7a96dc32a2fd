#pragma once

#include <windows.h>

#include <string>

// The program is 32-bit. On 64-bit Windows it runs under WOW64, which shows it
// its own System32 (SysWOW64), its own registry view and its own Program Files,
// where Explorer and every 64-bit program see the native ones. These helpers
// give a path the meaning Explorer gives it; where there is no WOW64 (32-bit
// Windows), there is only one view and they change nothing but Sysnative.

bool IsWow64();

// The path by which this process reaches the file that Explorer means by
// `path`: below the Windows folder's System32 it goes through Sysnative under
// WOW64, unless only this program's own System32 (SysWOW64) has the file; a
// path through Sysnative goes through System32 where there is no WOW64. Any
// other path as it is.
std::string NativeFilePath(const std::string& path);

// A folder for a started program, which may be a 64-bit one: Sysnative, which
// only 32-bit programs see, is named System32.
std::string FolderAsSeenByAnyProgram(const std::string& folder);

// Whether the file or folder is there, looking where a start looks.
bool PathExists(const std::string& path);

// The system's expansion; a test may stand in for it.
using ExpandFunction = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);

// %VAR% expanded with this process's environment; false when the system
// refuses or the result cannot be written in the ANSI code page. A result
// that outgrows the buffer is expanded again in the size the system asks for.
bool ExpandVariables(const std::string& text, std::string& expanded,
                     ExpandFunction expand = ::ExpandEnvironmentStringsW);

// %VAR% expanded as Explorer expands it: under WOW64 %ProgramFiles% and
// %CommonProgramFiles% name the native folders; where that names no file but
// the 32-bit meaning does, the 32-bit one is taken. The text as it is where
// the expansion fails.
std::string ExpandAsExplorer(const std::string& text);
