#include "ui/Colours.h"

HBRUSH WindowGround()
{
    return ::GetSysColorBrush(COLOR_WINDOW);
}

HBRUSH LabelColours(HDC dc, HWND control)
{
    ::SetBkMode(dc, TRANSPARENT);
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(::IsWindowEnabled(control) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    return WindowGround();
}

void RepaintInNewColours(HWND dialog)
{
    // Common controls take their colours in only when their parent passes
    // the change on.
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
