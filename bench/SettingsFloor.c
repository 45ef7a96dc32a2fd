/* The floor for the settings dialog's start-up: the same template and
   resources (icon, banner, white look, common controls), the same tooltips and
   the same locked fields of a slot set to Disable, its entry and a new one in
   the slot list (the registry not read), shown with plain Win32 calls, no
   framework layer and no C++ runtime. */
#include "ui/resource.h"

#include <windows.h>
#include <commctrl.h>

static HBRUSH white;

static void AddTool(HWND tip, HWND dialog, int id, const char* text)
{
    TOOLINFOA info = {0};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND;
    info.hwnd = dialog;
    info.uId = (UINT_PTR)GetDlgItem(dialog, id);
    info.lpszText = (char*)text;
    SendMessageA(tip, TTM_ADDTOOLA, 0, (LPARAM)&info);
}

static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message)
    {
    case WM_INITDIALOG:
    {
        HICON icon = LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDI_APP));
        SendMessageA(window, WM_SETICON, ICON_BIG, (LPARAM)icon);
        SendMessageA(window, WM_SETICON, ICON_SMALL, (LPARAM)icon);
        HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, window, NULL,
                                   GetModuleHandleA(NULL), NULL);
        AddTool(tip, window, IDC_DISABLE, "Disable autostart");
        AddTool(tip, window, IDC_ORBX_PLAYER, "Enable autostart for the vaxo ORBX Player");
        AddTool(tip, window, IDC_ZENTOR, "Enable autostart for the vaxo Zentor");
        AddTool(tip, window, IDC_USER_DEFINED, "Enable autostart for a user defined application");
        AddTool(tip, window, IDC_KIOSK, "Launch vaxo Zentor in kiosk mode");
        AddTool(tip, window, IDC_BROWSE_APP, "Browse File");
        AddTool(tip, window, IDC_BROWSE_SHOW, "Browse Show File");
        AddTool(tip, window, IDC_KEEP_OPTIONS, "Options of the keeping");
        AddTool(tip, window, IDC_SLOT, "The slot this window edits: every stored slot, with what it starts, and a new one");
        SendDlgItemMessageA(window, IDC_SLOT, CB_ADDSTRING, 0, (LPARAM)"0: Disable");
        SendDlgItemMessageA(window, IDC_SLOT, CB_ADDSTRING, 0, (LPARAM)"1: new");
        SendDlgItemMessageA(window, IDC_SLOT, CB_SETCURSEL, 0, 0);
        SendDlgItemMessageA(window, IDC_DELAY_SPIN, UDM_SETRANGE, 0, MAKELPARAM(120, 0));
        SetDlgItemTextA(window, IDC_DELAY, "20");
        CheckDlgButton(window, IDC_DISABLE, BST_CHECKED);
        {
            static const int readOnly[] = {IDC_APP_PATH, IDC_SHOW_PATH, IDC_PARAMETER, IDC_DELAY};
            static const int disabled[] = {IDC_BROWSE_APP, IDC_BROWSE_SHOW, IDC_KIOSK, IDC_DELAY_SPIN};
            int i;
            for (i = 0; i < 4; ++i)
            {
                SendDlgItemMessageA(window, readOnly[i], EM_SETREADONLY, TRUE, 0);
                EnableWindow(GetDlgItem(window, disabled[i]), FALSE);
            }
        }
        return TRUE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkMode((HDC)wParam, TRANSPARENT);
        return (INT_PTR)white;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
    InitCommonControls();
    white = CreateSolidBrush(RGB(255, 255, 255));
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETTINGS), NULL, Procedure, 0);
}
