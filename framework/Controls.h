#pragma once

#include "framework/Wnd.h"

#include <commctrl.h>

#include <string>

class CButton : public CWnd
{
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
};

class CEdit : public CWnd
{
public:
    BOOL SetReadOnly(BOOL readOnly = TRUE)
    {
        return static_cast<BOOL>(SendMessage(EM_SETREADONLY, static_cast<WPARAM>(readOnly)));
    }
};

class CComboBox : public CWnd
{
public:
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int AddString(const char* text)
    {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    void SetItemData(int index, DWORD_PTR data)
    {
        SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
    }
    DWORD_PTR GetItemData(int index) const
    {
        return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    bool GetDroppedState() const { return SendMessage(CB_GETDROPPEDSTATE) != 0; }
    void SetCurSel(int index) { SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)); }
};

class CSpinButtonCtrl : public CWnd
{
public:
    // The upper bound travels in the low word, the lower bound in the high word.
    void SetRange(short lower, short upper)
    {
        SendMessage(UDM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(upper), static_cast<WORD>(lower)));
    }
};

// A tooltip window owned by a dialog; tools are the dialog's controls,
// identified by their window handles. Windows destroys it with its owner; the
// owner lets go of it then (on its WM_DESTROY), or it is destroyed here.
class CToolTipCtrl : public CWnd
{
public:
    ~CToolTipCtrl() override
    {
        if (IsWindow())
            ::DestroyWindow(m_hWnd);
    }

    BOOL Create(CWnd* owner, DWORD style = 0)
    {
        m_hWnd = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   owner != nullptr ? owner->GetSafeHwnd() : nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        return m_hWnd != nullptr;
    }

    BOOL AddTool(HWND owner, HWND tool, const char* text)
    {
        TOOLINFOA info = {};
        info.cbSize = sizeof(info);
        info.uFlags = TTF_IDISHWND;
        info.hwnd = owner;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        info.lpszText = const_cast<char*>(text);
        return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
    }


    void RelayEvent(MSG* message)
    {
        SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(message));
    }
};

// Painting of a window between BeginPaint and EndPaint.
class CPaintDC
{
public:
    explicit CPaintDC(CWnd* window) : m_window(window->GetSafeHwnd())
    {
        m_hDC = ::BeginPaint(m_window, &m_ps);
    }
    ~CPaintDC() { ::EndPaint(m_window, &m_ps); }

    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    BOOL DrawIcon(int x, int y, HICON icon, int width, int height)
    {
        return ::DrawIconEx(m_hDC, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
    }
    operator HDC() const { return m_hDC; }

    HDC m_hDC;
    PAINTSTRUCT m_ps;

private:
    HWND m_window;
};
