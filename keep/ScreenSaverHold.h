#pragma once

#include <windows.h>

// Holds the screen saver off while it lives, for this session only (the
// user's profile is not written: a logoff puts it back too), and turns it on
// again as it goes where it was on.
class CScreenSaverHold
{
public:
    explicit CScreenSaverHold(bool hold)
    {
        BOOL active = FALSE;
        wasOn = hold && ::SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) && active;
        if (wasOn)
            ::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
    }
    ~CScreenSaverHold()
    {
        if (wasOn)
            ::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
    }
    CScreenSaverHold(const CScreenSaverHold&) = delete;
    CScreenSaverHold& operator=(const CScreenSaverHold&) = delete;

private:
    bool wasOn;
};
