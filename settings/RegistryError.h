#pragma once

#include <windows.h>

// A Windows error code raised inside the save.
struct RegistryError
{
    LONG code;
};
