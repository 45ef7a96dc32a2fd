#pragma once

#include "framework/Handle.h"

#include <windows.h>

// Holds the screen saver off while it lives, for this session only (the
// user's profile is not written: a logoff puts it back too). The holds of
// the session's keepers (one a slot) count together: the last to go turns the
// screen saver on again, where it was on when the first came.
class CScreenSaverHold
{
public:
    explicit CScreenSaverHold(bool hold);
    ~CScreenSaverHold();
    CScreenSaverHold(const CScreenSaverHold&) = delete;
    CScreenSaverHold& operator=(const CScreenSaverHold&) = delete;

private:
    // A semaphore counting the holds, and an event set where the screen saver
    // was on: both live while a hold does.
    CKernelHandle holds;
    CKernelHandle wasOn;
};
