#pragma once

#include "framework/ScaledBitmap.h"

// A dialog's banner: its static control that shows a bitmap resource, drawn at
// the window's scale. Unscaled it shows the resource as it is; otherwise a
// smooth copy scaled as the dialog's layout was, so that it spans the same
// share of the dialog at every scale. The control keeps its place and z-order
// and takes the picture's size.
class CBanner
{
public:
    // The dialog's first bitmap control, showing the given resource unscaled.
    void Attach(HWND dialog, UINT bitmapId);
    // In thousandths (see framework/Dpi.h): kUnscaled is the resource as it is.
    // The control takes the picture's size, whatever size it had.
    void ScaleTo(int scale);

private:
    void ShowPicture(int scale);

    HWND m_control = nullptr;
    UINT m_bitmapId = 0;
    int m_scale = 0;
    CBitmapHandle m_picture;
};
