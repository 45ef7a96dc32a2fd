#pragma once

#include <string>

// printf-style formatting into a new string (the runtime's rules for %d, %s, %u).
std::string FormatString(const char* format, ...) __attribute__((format(ms_printf, 1, 2)));
