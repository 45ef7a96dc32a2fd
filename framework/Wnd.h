#pragma once

#include "framework/RuntimeClass.h"

#include <windows.h>

// A borrowed window handle with the calls the program makes on it. The
// wrapper never destroys its window.
class CWnd
{
public:
    static const CRuntimeClass classCWnd;

    CWnd() = default;
    explicit CWnd(HWND window) : m_hWnd(window) {}
    virtual ~CWnd() = default;

    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCWnd; }
    bool IsKindOf(const CRuntimeClass* runtimeClass) const
    {
        return GetRuntimeClass()->IsDerivedFrom(runtimeClass);
    }

    void Attach(HWND window) { m_hWnd = window; }
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC callback)
    {
        return ::SetTimer(m_hWnd, id, elapse, callback);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL SetWindowText(const char* text) { return ::SetWindowTextA(m_hWnd, text); }
    BOOL IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(m_hWnd, rect); }

    virtual BOOL PreTranslateMessage(MSG* message);

    HWND m_hWnd = nullptr;

protected:
    // The default answer (DefWindowProc) to the message being handled.
    LRESULT Default();
    HBRUSH OnCtlColor(HDC dc, HWND window, UINT ctlColor);

    MSG m_currentMessage = {};
};
