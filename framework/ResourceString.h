#pragma once

#include <windows.h>

#include <string>

// A string of the program's string table in the ANSI code page; empty where
// there is none of that id (or it cannot be written in the code page).
std::string ResourceString(UINT id);
