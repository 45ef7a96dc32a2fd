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
// first 255 characters (never inside one), the room a 256-character directory
// buffer of the runtime's path splitter has. Characters of the code page are
// stepped over whole, so a trail byte never counts as a separator.
DriveAndDirectory SplitDriveAndDirectory(const char* path, UINT codePage = CP_ACP);

// Drive and directory of a path, ending in its last separator; empty for a
// bare file name.
std::string GetPathFolder(const std::string& path, UINT codePage = CP_ACP);

// What follows the path's last "\\" or "/" (characters of the code page
// stepped over whole); the whole text where it has none.
std::string FileName(const std::string& path, UINT codePage = CP_ACP);

// A path wrapped in one pair of double quotes (as Explorer's "Copy as path"
// gives it) without them; any other text as it is.
std::string Unquoted(const std::string& path);

// The path in the ANSI code page: as it is where every character fits and it
// is shorter than MAX_PATH, otherwise its short form where that fits; a path
// too long with no shorter form stays long; empty where it cannot be written
// without loss.
std::string AnsiPath(const wchar_t* path, UINT codePage = CP_ACP);
