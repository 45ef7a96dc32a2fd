#pragma once

#include <windows.h>

#include <string>

// A file that is not there at a logon may still come: on the share of a NAS
// that boots later, on a mapped network drive that reconnects later, or on a
// USB stick. The volume it waits for, as the user names it: "\\server\share"
// for a path on a share, "K:" for a path on a network or removable drive or a
// drive that is not there (yet). Empty where the file is there, and for a
// path on a local fixed drive, a relative path or a bare name, which nothing
// will bring later.
std::string LateVolume(const std::string& path, UINT codePage = CP_ACP);

// Whether looking for the path may wait on a server: a path on a share, or
// on a drive letter that names anything but a local volume (a network
// drive). Asks the system's names of its devices only, which never wait.
bool LookMayStall(const std::string& path, UINT codePage = CP_ACP);
