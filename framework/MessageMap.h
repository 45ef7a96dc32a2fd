#pragma once

#include <windows.h>

// Message maps: a class lists the messages and control notifications it
// handles, each bound to an On... method; anything not listed goes to the
// base class's map and finally to the dialog manager's default handling.

#define DECLARE_MESSAGE_MAP()                                                            \
protected:                                                                               \
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                           \
    BOOL theClass::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) \
    {                                                                                    \
        typedef baseClass TheBaseClass;

#define END_MESSAGE_MAP()                                                                \
        return TheBaseClass::OnWndMsg(message, wParam, lParam, result);                  \
    }

#define ON_WM_TIMER()                                                                    \
    if (message == WM_TIMER)                                                             \
    {                                                                                    \
        OnTimer(static_cast<UINT_PTR>(wParam));                                          \
        result = 0;                                                                      \
        return TRUE;                                                                     \
    }

// The request kind handed to OnCtlColor is CTLCOLOR_MSGBOX .. CTLCOLOR_STATIC.
#define ON_WM_CTLCOLOR()                                                                 \
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)                    \
    {                                                                                    \
        result = reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam),     \
                                                      reinterpret_cast<HWND>(lParam),    \
                                                      message - WM_CTLCOLORMSGBOX));     \
        return TRUE;                                                                     \
    }

#define ON_WM_PAINT()                                                                    \
    if (message == WM_PAINT)                                                             \
    {                                                                                    \
        OnPaint();                                                                       \
        result = 0;                                                                      \
        return TRUE;                                                                     \
    }

#define ON_WM_DESTROY()                                                                  \
    if (message == WM_DESTROY)                                                           \
    {                                                                                    \
        OnDestroy();                                                                     \
        result = 0;                                                                      \
        return TRUE;                                                                     \
    }

// The default handling of WM_DPICHANGED moves the dialog and has Windows
// scale its controls, in an order Windows does not promise; OnDpiChanged is
// called afterwards, from a message posted on the way, so that what it sizes
// to the new scale is scaled exactly once.
constexpr UINT WM_AFTER_DPICHANGED = WM_APP + 1;
#define ON_WM_DPICHANGED()                                                               \
    if (message == WM_DPICHANGED)                                                        \
        ::PostMessageA(m_hWnd, WM_AFTER_DPICHANGED, HIWORD(wParam), 0);                  \
    if (message == WM_AFTER_DPICHANGED)                                                  \
    {                                                                                    \
        OnDpiChanged(static_cast<UINT>(wParam));                                         \
        result = 0;                                                                      \
        return TRUE;                                                                     \
    }

#define ON_WM_ENDSESSION()                                                               \
    if (message == WM_ENDSESSION)                                                        \
    {                                                                                    \
        OnEndSession(wParam != FALSE);                                                   \
        result = 0;                                                                      \
        return TRUE;                                                                     \
    }

#define ON_COLOURS_CHANGED()                                                             \
    if (message == WM_SYSCOLORCHANGE || message == WM_THEMECHANGED)                      \
        OnColoursChanged();

#define ON_WM_QUERYDRAGICON()                                                            \
    if (message == WM_QUERYDRAGICON)                                                     \
    {                                                                                    \
        result = reinterpret_cast<LRESULT>(OnQueryDragIcon());                           \
        return TRUE;                                                                     \
    }

#define ON_BN_CLICKED(id, handler)                                                       \
    if (message == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == BN_CLICKED) \
    {                                                                                    \
        handler();                                                                       \
        result = 0;                                                                      \
        return TRUE;                                                                     \
    }

// A combo box's notification code, such as CBN_SELCHANGE.
#define ON_CBN(code, id, handler)                                                        \
    if (message == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (code))     \
    {                                                                                    \
        handler();                                                                       \
        result = 0;                                                                      \
        return TRUE;                                                                     \
    }
#define ON_CBN_SELCHANGE(id, handler) ON_CBN(CBN_SELCHANGE, id, handler)
#define ON_CBN_SELENDOK(id, handler) ON_CBN(CBN_SELENDOK, id, handler)
#define ON_CBN_SELENDCANCEL(id, handler) ON_CBN(CBN_SELENDCANCEL, id, handler)
#define ON_CBN_CLOSEUP(id, handler) ON_CBN(CBN_CLOSEUP, id, handler)
