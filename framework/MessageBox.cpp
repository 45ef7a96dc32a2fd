#include "framework/MessageBox.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

int AfxMessageBox(const char* text, UINT type)
{
    CWinApp* app = AfxGetApp();
    HWND owner = nullptr;
    const char* caption = nullptr;
    if (app != nullptr)
    {
        // Over the main window, or over the dialog open over it.
        if (app->m_pMainWnd != nullptr && (owner = app->m_pMainWnd->GetSafeHwnd()) != nullptr)
            owner = ::GetLastActivePopup(owner);
        caption = app->m_pszAppName.c_str();
    }
    return ::MessageBoxA(owner, text, caption, type);
}
