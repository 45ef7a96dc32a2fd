#pragma once

#include <windows.h>

// A message box with the application's title as caption, owned by the
// application's main window.
int AfxMessageBox(const char* text, UINT type = MB_OK);
