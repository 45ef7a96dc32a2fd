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

    // Waits for the object to be signalled while this thread's windows get
    // their messages, with no timer and no time of the processor's. False, at
    // once, when the session ends or the thread is asked to quit (the request
    // is left for the loop outside). Windows tells programs of a logoff in no
    // set order: an object signalled from the logoff's question on is taken
    // for the logoff's doing, and the wait goes on until the logoff ends
    // (false) or is cancelled (true).
    bool WaitFor(HANDLE object) const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool LogoffUnderWay() const;

    bool m_logoffAsked = false;
    bool m_sessionEnded = false;
    HWND m_window = nullptr;
};
