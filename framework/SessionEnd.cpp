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
    if (message == WM_DISPLAYCHANGE && self != nullptr)
        self->m_displayChanged = true;
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

DWORD CSessionEndWindow::Wait(DWORD count, const HANDLE* objects, DWORD milliseconds) const
{
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    while (!m_sessionEnded)
    {
        DWORD left = milliseconds;
        if (milliseconds != INFINITE)
        {
            const ULONGLONG now = ::GetTickCount64();
            left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        }
        const DWORD woken = ::MsgWaitForMultipleObjects(count, objects, FALSE, left, QS_ALLINPUT);
        if (woken < WAIT_OBJECT_0 + count || woken == WAIT_TIMEOUT)
            return woken;
        if (woken != WAIT_OBJECT_0 + count)
            return kSessionOver;
        MSG message;
        while (!m_sessionEnded && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            if (message.message == WM_QUIT)
            {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return kSessionOver;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (m_displayChanged && !m_sessionEnded)
        {
            m_displayChanged = false;
            return kDisplayChanged;
        }
    }
    return kSessionOver;
}

bool CSessionEndWindow::EndIsTheLogoffs() const
{
    // The system's shutting-down flag is looked at each second.
    while (LogoffUnderWay())
        if (Wait(0, nullptr, 1000) == kSessionOver)
            return true;
    return m_sessionEnded;
}
