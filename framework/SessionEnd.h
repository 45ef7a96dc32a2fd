#pragma once

#include <windows.h>

// A hidden top-level window of the program's own, with no taskbar button, for
// the end of the user's session while no other window of the program is
// there: Windows tells top-level windows only. It never holds up a logoff.
class CSessionEndWindow
{
public:
    CSessionEndWindow();
    ~CSessionEndWindow();

    CSessionEndWindow(const CSessionEndWindow&) = delete;
    CSessionEndWindow& operator=(const CSessionEndWindow&) = delete;

    // What Wait returns once the session has ended or the thread was asked
    // to quit (the request is left for the loop outside).
    static constexpr DWORD kSessionOver = 0xFFFFFFF0;
    // What Wait returns once the displays were laid out anew (WM_DISPLAYCHANGE:
    // a display plugged in or out, a TV back from standby).
    static constexpr DWORD kDisplayChanged = 0xFFFFFFF1;

    // Waits for one of the objects to be signalled, or for the time
    // (INFINITE: none), while this thread's windows get their messages, with
    // no timer and no time of the processor's: WAIT_OBJECT_0 + its index,
    // WAIT_TIMEOUT, kDisplayChanged or kSessionOver.
    DWORD Wait(DWORD count, const HANDLE* objects, DWORD milliseconds) const;

    // Windows tells programs of a logoff in no set order: what ends from the
    // logoff's question on is the logoff's doing. Waits until the logoff ends
    // (true) or is cancelled (false); false at once where none is under way.
    bool EndIsTheLogoffs() const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool LogoffUnderWay() const;

    bool m_logoffAsked = false;
    bool m_sessionEnded = false;
    mutable bool m_displayChanged = false;
    HWND m_window = nullptr;
};
