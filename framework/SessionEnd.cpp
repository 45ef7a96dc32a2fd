#include "framework/SessionEnd.h"

namespace
{
const char kClassName[] = "vaxoKestrupSessionEnd";
} // namespace

CSessionEndWindow::CSessionEndWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassA(&windowClass);
    m_window = ::CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 windowClass.hInstance, this);
}

CSessionEndWindow::~CSessionEndWindow()
{
    if (m_window != nullptr)
        ::DestroyWindow(m_window);
}

LRESULT CALLBACK CSessionEndWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<CSessionEndWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_QUERYENDSESSION)
        return TRUE;
    if (message == WM_ENDSESSION && wParam != FALSE && self != nullptr)
    {
        self->m_sessionEnded = true;
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

bool CSessionEndWindow::WaitFor(HANDLE object) const
{
    while (!m_sessionEnded)
    {
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &object, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0)
            return true;
        if (woken != WAIT_OBJECT_0 + 1)
            return false;
        MSG message;
        while (!m_sessionEnded && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            if (message.message == WM_QUIT)
            {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return false;
}
