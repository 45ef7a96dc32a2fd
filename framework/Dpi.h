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

// How much larger the dialog's units are than those of its font at 96 DPI,
// in thousandths: the factor by which its layout was scaled. The font's size
// in pixels need not follow the DPI exactly, so neither does this.
int DialogScale(HWND dialog);
