#pragma once

#include "framework/Handle.h"

using CBitmapHandle = CGdiObjectT<HBITMAP>;

// A copy of the bitmap at another size, each pixel interpolated from its four
// nearest neighbours (no blocky pixel doubling), as a 32-bit DIB section with
// no alpha (so that a static control shows it as it is); none when the system
// refuses.
CBitmapHandle ScaledBitmap(HBITMAP source, int width, int height);
