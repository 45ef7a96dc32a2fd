#include "framework/DataExchange.h"

#include "framework/AnsiText.h"
#include "framework/MessageBox.h"
#include "framework/StringFormat.h"
#include "framework/Wnd.h"

#include <climits>
#include <cstdlib>
#include <vector>

namespace
{
// The control's text in the ANSI code page; false (and empty) where a
// character has no exact form there (only possible where that is not UTF-8).
bool ControlText(HWND control, std::string& text)
{
    const int length = ::GetWindowTextLengthW(control);
    std::vector<wchar_t> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    ::GetWindowTextW(control, buffer.data(), static_cast<int>(buffer.size()));
    return WideToAnsi(buffer.data(), text);
}

// A number's text; one the code page cannot hold is no number either.
std::string ControlText(HWND control)
{
    std::string text;
    return ControlText(control, text) ? text : std::string();
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A whole number with optional blanks around it, as the framework accepts it.
bool ParseNumber(const std::string& text, bool allowSign, long long& number)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (allowSign && i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    const size_t digitsStart = i;
    number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    {
        number = number * 10 + (text[i] - '0');
        if (number > 0xFFFFFFFFLL)
            return false;
    }
    if (i == digitsStart)
        return false;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return false;
    if (negative)
        number = -number;
    return true;
}
// The framework's message for a refused field; the exchange stops there.
bool FailWith(CDataExchange* dx, const std::string& message)
{
    AfxMessageBox(message.c_str(), MB_ICONEXCLAMATION);
    dx->Fail();
    return false;
}
} // namespace

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    m_hWndLastControl = m_pDlgWnd->GetDlgItem(id);
    m_isEditLastControl = false;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND control = PrepareCtrl(id);
    m_isEditLastControl = true;
    return control;
}

void CDataExchange::Fail()
{
    m_failed = true;
    if (m_hWndLastControl == nullptr)
        return;
    ::SetFocus(m_hWndLastControl);
    if (m_isEditLastControl)
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

bool DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (dx->Failed())
        return false;
    if (control.m_hWnd == nullptr)
        control.Attach(dx->PrepareCtrl(id));
    return control.m_hWnd != nullptr;
}

bool DDX_Text(CDataExchange* dx, int id, int& value)
{
    if (dx->Failed())
        return false;
    HWND control = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate)
    {
        ::SetWindowTextA(control, FormatString("%d", value).c_str());
        return true;
    }
    long long number = 0;
    if (!ParseNumber(ControlText(control), true, number) || number < INT_MIN || number > INT_MAX)
        return FailWith(dx, "Please enter an integer.");
    value = static_cast<int>(number);
    return true;
}

bool DDX_Text(CDataExchange* dx, int id, UINT& value)
{
    if (dx->Failed())
        return false;
    HWND control = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate)
    {
        ::SetWindowTextA(control, FormatString("%u", value).c_str());
        return true;
    }
    long long number = 0;
    if (!ParseNumber(ControlText(control), false, number))
        return FailWith(dx, "Please enter a positive integer.");
    value = static_cast<UINT>(number);
    return true;
}

bool DDX_Text(CDataExchange* dx, int id, std::string& value, const char* fieldName)
{
    if (dx->Failed())
        return false;
    HWND control = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate)
    {
        ::SetWindowTextA(control, value.c_str());
        return true;
    }
    std::string text;
    if (!ControlText(control, text))
        return FailWith(dx, FormatString("%s holds characters that this version of Windows cannot "
                                         "pass on. Please use only characters of its code page.",
                                         fieldName != nullptr ? fieldName : "The field"));
    value = text;
    return true;
}

bool DDV_MaxChars(CDataExchange* dx, const std::string& value, int count)
{
    if (dx->Failed())
        return false;
    if (!dx->m_bSaveAndValidate)
    {
        // Writing: the field itself stops taking text at the limit.
        ::SendMessageA(dx->LastControl(), EM_LIMITTEXT, static_cast<WPARAM>(count), 0);
        return true;
    }
    if (CountCharacters(value) > static_cast<size_t>(count))
        return FailWith(dx, FormatString("Please enter no more than %d characters.", count));
    return true;
}

bool DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minimum, UINT maximum)
{
    if (dx->Failed())
        return false;
    if (dx->m_bSaveAndValidate && (value < minimum || value > maximum))
        return FailWith(
            dx, FormatString("Please enter an integer between %u and %u.", minimum, maximum));
    return true;
}
