#pragma once

#include <windows.h>

#include <string>

struct DriveAndDirectory
{
    std::string drive;
    std::string directory;
};

// Splits a path the way the runtime's path splitter does with a 3-byte drive
// buffer and a 256-byte directory buffer: the drive is the first two
// characters when the second is a colon; the directory runs up to and
// including the last "\" or "/" and is cut after its first 255 bytes.
// Double-byte characters of the given code page are stepped over whole, so a
// trail byte never counts as a separator.
DriveAndDirectory SplitDriveAndDirectory(const char* path, UINT codePage);
