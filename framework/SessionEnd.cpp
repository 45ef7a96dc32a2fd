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
    if (message == WM_QUERYENDSESSION && self != nullptr)
    {
        self->m_logoffAsked = true;
        return TRUE;
    }
    if (message == WM_ENDSESSION && self != nullptr)
    {
        self->m_logoffAsked = false;
        self->m_sessionEnded = wParam != FALSE;
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

bool CSessionEndWindow::LogoffUnderWay() const
{
    return m_logoffAsked || ::GetSystemMetrics(SM_SHUTTINGDOWN) != 0;
}

bool CSessionEndWindow::WaitFor(HANDLE object) const
{
    bool signalled = false;
    while (!m_sessionEnded)
    {
        if (signalled && !LogoffUnderWay())
            return true;
        // Once signalled, only the logoff's messages are awaited, looking at
        // the system's shutting-down flag each second.
        const DWORD count = signalled ? 0 : 1;
        const DWORD woken = ::MsgWaitForMultipleObjects(count, &object, FALSE, signalled ? 1000 : INFINITE,
                                                        QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0 && count == 1)
        {
            signalled = true;
            continue;
        }
        if (woken == WAIT_TIMEOUT)
            continue;
        if (woken != WAIT_OBJECT_0 + count)
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
