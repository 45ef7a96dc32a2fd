#pragma once

#include <windows.h>

// The program declares itself aware of each monitor's scale, so Windows draws
// it sharp at any scale and leaves the scaling of its pictures to it. The
// calls that say a window's scale exist only on Windows 10 1607 and later;
// before, the screen's DPI is the one scale there is.
constexpr UINT kDefaultDpi = 96;

UINT WindowDpi(HWND window);

// A system metric (SM_CXICON, SM_CXSMICON, ...) at the DPI.
int MetricForDpi(int index, UINT dpi);

// Scales of a layout, in thousandths.
constexpr int kUnscaled = 1000;

// The scale of a layout that follows the DPI exactly, as Windows scales a
// dialog that moves to a screen of another DPI.
int DpiScale(UINT dpi);

// How much larger the dialog's units are than those of its font at 96 DPI:
// the scale of its layout. The font's size
// in pixels need not follow the DPI exactly, so neither does this.
int DialogScale(HWND dialog);
