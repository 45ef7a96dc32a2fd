/* The floor for the settings dialog's start-up: the same template and
   resources (icon, banner, white look, common controls) shown with plain Win32
   calls, no framework layer and no C++ runtime. */
#include "ui/resource.h"

#include <windows.h>
#include <commctrl.h>

static HBRUSH white;

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
        SendDlgItemMessageA(window, IDC_DELAY_SPIN, UDM_SETRANGE, 0, MAKELPARAM(120, 0));
        SetDlgItemTextA(window, IDC_DELAY, "20");
        CheckDlgButton(window, IDC_DISABLE, BST_CHECKED);
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
