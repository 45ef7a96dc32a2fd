#pragma once

#include <windows.h>

#include <string>

struct DriveAndDirectory
{
    std::string drive;
    std::string directory;
};

// The drive is the first two characters when the second is a colon; the
// directory runs up to and including the last "\" or "/" and is cut after its
// first 255 bytes, the room a 256-byte directory buffer of the runtime's path
// splitter has. Double-byte characters of the given code page are stepped over
// whole, so a trail byte never counts as a separator.
DriveAndDirectory SplitDriveAndDirectory(const char* path, UINT codePage = CP_ACP);

// Drive and directory of a path, ending in its last separator; empty for a
// bare file name.
std::string GetPathFolder(const std::string& path, UINT codePage = CP_ACP);

// The path in the ANSI code page: as it is where every character fits,
// otherwise its short form; empty where neither can be written without loss.
std::string AnsiPath(const wchar_t* path);
