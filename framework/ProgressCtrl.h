#pragma once

#include "framework/Wnd.h"

#include <commctrl.h>

class CProgressCtrl : public CWnd
{
public:
    // Both bounds travel as 16-bit values.
    void SetRange(short lower, short upper)
    {
        SendMessage(PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(lower), static_cast<WORD>(upper)));
    }
    void GetRange(int& lower, int& upper) const
    {
        PBRANGE range = {};
        SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        lower = range.iLow;
        upper = range.iHigh;
    }
    int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
};
