#include "framework/Dialog.h"

#include "framework/DataExchange.h"
#include "framework/WinApp.h"

const CRuntimeClass CDialog::classCDialog = {"CDialog", &CWnd::classCWnd};

namespace
{
// Messages whose answer a dialog procedure returns directly instead of
// through DWLP_MSGRESULT.
bool AnswersDirectly(UINT message)
{
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
           || message == WM_COMPAREITEM || message == WM_VKEYTOITEM
           || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON
           || message == WM_INITDIALOG;
}

HINSTANCE ResourceInstance()
{
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_hInstance != nullptr)
        return app->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}
} // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent)
{
}

CDialog::~CDialog()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal()
{
    HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    const bool disableParent = parent != nullptr && ::IsWindowEnabled(parent);
    if (disableParent)
        ::EnableWindow(parent, FALSE);

    m_continueModal = true;
    m_modalResult = -1;
    // A Unicode dialog: its fields hold any character typed or pasted, and the
    // program's ANSI calls convert on the way, so that text the code page
    // cannot hold is seen (and refused) instead of replaced as it is typed.
    HWND window = ::CreateDialogParamW(ResourceInstance(), MAKEINTRESOURCEW(m_templateId), parent,
                                       DialogProc, reinterpret_cast<LPARAM>(this));
    if (window != nullptr && m_continueModal)
    {
        if (!::IsWindowVisible(window))
            ::ShowWindow(window, SW_SHOWNORMAL);
        RunModalLoop();
    }

    if (disableParent)
        ::EnableWindow(parent, TRUE);
    if (window != nullptr && ::IsWindow(window))
    {
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        ::DestroyWindow(window);
    }
    m_hWnd = nullptr;
    return m_modalResult;
}

// A dialog that neither centres itself nor was moved by its initialisation
// is centred on its owner, or on the screen's work area when it has none.
void CDialog::CenterIfNotPlaced(const RECT& before)
{
    if (!::IsWindow(m_hWnd) || (::GetWindowLongA(m_hWnd, GWL_STYLE) & (DS_CENTER | DS_ABSALIGN)))
        return;
    RECT now;
    ::GetWindowRect(m_hWnd, &now);
    if (now.left != before.left || now.top != before.top)
        return;

    RECT area;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner))
    {
        ::GetWindowRect(owner, &area);
    }
    else
    {
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
        area = monitor.rcWork;
    }
    const int width = now.right - now.left;
    const int height = now.bottom - now.top;
    const int x = area.left + (area.right - area.left - width) / 2;
    const int y = area.top + (area.bottom - area.top - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::RunModalLoop()
{
    MSG message;
    while (m_continueModal)
    {
        const BOOL received = ::GetMessageW(&message, nullptr, 0, 0);
        if (received == -1)
            break;
        if (received == 0)
        {
            // Leave the quit request for the loop outside this one.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!PreTranslateMessage(&message))
        {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

void CDialog::EndDialog(int result)
{
    m_modalResult = result;
    m_continueModal = false;
    // Wakes the modal loop when the request arrived as a sent message.
    if (m_hWnd != nullptr)
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return dx.Failed() ? FALSE : TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* message)
{
    return m_hWnd != nullptr && ::IsDialogMessageW(m_hWnd, message);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

BOOL CDialog::OnHelpInfo(HELPINFO* info)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return FALSE;
    // A box or a file dialog over this one sends its own F1 here too: help is
    // for this dialog's controls, while nothing is open over it (which keeps
    // it disabled).
    const HWND item = info != nullptr && info->iContextType == HELPINFO_WINDOW
                          ? static_cast<HWND>(info->hItemHandle)
                          : m_hWnd;
    if (!::IsWindowEnabled(m_hWnd) || (item != m_hWnd && !::IsChild(m_hWnd, item)))
        return TRUE;
    app->m_dwPromptContext =
        info != nullptr && info->iContextType == HELPINFO_WINDOW && info->iCtrlId > 0 ? info->iCtrlId : 0;
    ::SendMessageA(m_hWnd, WM_COMMAND, ID_HELP, 0);
    app->m_dwPromptContext = 0;
    return TRUE;
}

BOOL CDialog::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT&)
{
    return FALSE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog;
    if (message == WM_INITDIALOG)
    {
        dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        dialog->m_hWnd = window;
    }
    else
    {
        dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    }
    if (dialog == nullptr)
        return FALSE;

    return dialog->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const MSG outerMessage = m_currentMessage;
    m_currentMessage.hwnd = m_hWnd;
    m_currentMessage.message = message;
    m_currentMessage.wParam = wParam;
    m_currentMessage.lParam = lParam;
    struct Restore
    {
        MSG& current;
        MSG saved;
        ~Restore() { current = saved; }
    } restore{m_currentMessage, outerMessage};

    LRESULT result = 0;
    if (message == WM_INITDIALOG)
    {
        RECT before;
        ::GetWindowRect(m_hWnd, &before);
        const BOOL focusDefault = OnInitDialog();
        CenterIfNotPlaced(before);
        return focusDefault;
    }
    if (OnWndMsg(message, wParam, lParam, result))
    {
        if (AnswersDirectly(message))
            return static_cast<INT_PTR>(result);
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (message == WM_HELP)
    {
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, OnHelpInfo(reinterpret_cast<HELPINFO*>(lParam)));
        return TRUE;
    }
    // A command from no control (a menu, a key, a program) that the dialog
    // does not handle goes to the application.
    CWinApp* app = AfxGetApp();
    if (message == WM_COMMAND && lParam == 0 && app != nullptr && app->OnCmdMsg(LOWORD(wParam)))
        return TRUE;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
    {
        if (LOWORD(wParam) == IDOK)
        {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL)
        {
            OnCancel();
            return TRUE;
        }
    }
    if (message == WM_NCDESTROY)
    {
        // The application's main window is gone: forget it and ask the
        // thread to end.
        if (app != nullptr && app->m_pMainWnd == this)
        {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
    }
    return FALSE;
}
