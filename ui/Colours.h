#pragma once

#include <windows.h>

// Both dialogs are drawn in the system's colours: the window colour as their
// ground and the window text colour (its grey for what is disabled) for their
// labels. In the standard themes that is white with black text; a contrast
// theme gives its own.

HBRUSH WindowGround();

// The answer to WM_CTLCOLORSTATIC and WM_CTLCOLORBTN for a label on that ground.
HBRUSH LabelColours(HDC dc, HWND control);

// After the colours or the theme changed: the dialog's controls learn of it
// and everything is drawn again.
void RepaintInNewColours(HWND dialog);
