#include "keep/ScreenSaverHold.h"

namespace
{
const char kHoldsName[] = "Local\\vaxoKestrupScreenSaverHolds";
const char kWasOnName[] = "Local\\vaxoKestrupScreenSaverWasOn";
constexpr LONG kMostHolds = 0x7FFFFFFF;
} // namespace

CScreenSaverHold::CScreenSaverHold(bool hold)
{
    if (!hold)
        return;
    // Opened before the hold counts, so that the last hold finds it set by
    // the first, however the two met.
    wasOn.reset(::CreateEventA(nullptr, TRUE, FALSE, kWasOnName));
    holds.reset(::CreateSemaphoreA(nullptr, 0, kMostHolds, kHoldsName));
    LONG others = 0;
    if (!wasOn || !holds || !::ReleaseSemaphore(holds.get(), 1, &others))
    {
        holds.reset();
        return;
    }
    BOOL active = FALSE;
    if (others == 0 && ::SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) && active)
    {
        ::SetEvent(wasOn.get());
        ::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
    }
}

CScreenSaverHold::~CScreenSaverHold()
{
    if (!holds)
        return;
    ::WaitForSingleObject(holds.get(), 0);
    // Another hold is there where one more count can be taken (and given back).
    const bool last = ::WaitForSingleObject(holds.get(), 0) != WAIT_OBJECT_0;
    if (!last)
        ::ReleaseSemaphore(holds.get(), 1, nullptr);
    if (last && ::WaitForSingleObject(wasOn.get(), 0) == WAIT_OBJECT_0)
    {
        ::ResetEvent(wasOn.get());
        ::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
    }
}
