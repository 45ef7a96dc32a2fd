#pragma once

#include <windows.h>

// The displays turned off (SC_MONITORPOWER) while the show rests: as the off
// hours begin, and again five minutes after an input woke them, which the
// minute's wake finds (GetLastInputInfo). Does nothing where not asked for.
class CDisplaysOff
{
public:
    explicit CDisplaysOff(bool asked) : asked(asked) { TurnOff(); }

    void AtMinute()
    {
        if (asked && LastInput() != inputBefore && ::GetTickCount() - LastInput() >= kAwakeAfterInputMs)
            TurnOff();
    }

private:
    static constexpr DWORD kAwakeAfterInputMs = 5 * 60 * 1000;
    static constexpr LPARAM kPowerOff = 2;

    static DWORD LastInput()
    {
        LASTINPUTINFO input = {sizeof(input), 0};
        ::GetLastInputInfo(&input);
        return input.dwTime;
    }
    void TurnOff()
    {
        if (!asked)
            return;
        inputBefore = LastInput();
        ::PostMessageA(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, kPowerOff);
    }

    bool asked;
    DWORD inputBefore = 0;
};
