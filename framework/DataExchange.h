#pragma once

#include <windows.h>

#include <string>

class CWnd;

// One pass of data exchange between a dialog's controls and its members. Each
// exchange and check returns whether it succeeded; the first failure shows its
// message, focuses its control, selects the control's text, and turns every
// later exchange of the pass into a no-op.
class CDataExchange
{
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    void Fail();
    bool Failed() const { return m_failed; }
    HWND LastControl() const { return m_hWndLastControl; }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    HWND m_hWndLastControl = nullptr;
    bool m_isEditLastControl = false;
    bool m_failed = false;
};

bool DDX_Control(CDataExchange* dx, int id, CWnd& control);
bool DDX_Text(CDataExchange* dx, int id, int& value);
bool DDX_Text(CDataExchange* dx, int id, UINT& value);
// Text that the ANSI code page cannot hold is refused, naming the field.
bool DDX_Text(CDataExchange* dx, int id, std::string& value, const char* fieldName = nullptr);
// Counts characters, not bytes.
bool DDV_MaxChars(CDataExchange* dx, const std::string& value, int count);
bool DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minimum, UINT maximum);
