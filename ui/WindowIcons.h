#pragma once

#include "framework/Handle.h"

#include <windows.h>

// The program's icon on a window's frame and task bar button, at the sizes
// the window's scale asks for, and drawn in its place while it is minimized.
class CWindowIcons
{
public:
    // Loads the icon at the DPI and hands it to the window; the ones held
    // before go once the window no longer shows them.
    void Show(HWND window, UINT dpi);
    // The big icon centred in the client area of the minimized window.
    void PaintMinimized(HWND window, HDC dc) const;
    HICON Big() const { return big.get(); }

private:
    CIconHandle big;
    CIconHandle small;
};
