#include "app/AutostartApp.h"

#include "framework/ResourceString.h"
#include "framework/StringFormat.h"
#include "framework/Wnd.h"
#include "ui/resource.h"
#include "ui/version.h"

BOOL CAutostartApp::OnCmdMsg(UINT id)
{
    if (id != ID_HELP)
        return FALSE;
    OnHelp();
    return TRUE;
}

void CAutostartApp::WinHelp(DWORD_PTR context, UINT)
{
    std::string text = context != 0 ? ResourceString(static_cast<UINT>(context)) : std::string();
    if (!text.empty())
        text += "\n\n";
    text += ResourceString(IDS_HELP);
    text += FormatString(ResourceString(IDS_HELP_VERSION).c_str(), KESTRUP_VERSION_MAJOR, KESTRUP_VERSION_MINOR,
                         KESTRUP_VERSION_PATCH);
    // Over the main window, or over the dialog open over it.
    HWND owner = m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr;
    ::MessageBoxA(owner != nullptr ? ::GetLastActivePopup(owner) : nullptr, text.c_str(), ResourceString(IDS_HELP_CAPTION).c_str(), MB_OK | MB_ICONINFORMATION);
}
