#include "framework/Wnd.h"

const CRuntimeClass CWnd::classCWnd = {"CWnd", nullptr};

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

LRESULT CWnd::Default()
{
    return ::DefWindowProcW(m_hWnd, m_currentMessage.message, m_currentMessage.wParam,
                            m_currentMessage.lParam);
}

HBRUSH CWnd::OnCtlColor(HDC, HWND, UINT)
{
    return reinterpret_cast<HBRUSH>(Default());
}
