/* The floor for the countdown: the same template and resources, topmost,
   ticking the same label and bar once a second with plain Win32 calls, no
   framework layer and no C++ runtime. Ends after the tick that takes the
   count below zero.   countdown_floor.exe DELAY */
#include "ui/resource.h"

#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>

static HBRUSH white;
static int remaining;
static int delay;

static void Show(HWND window)
{
    SendDlgItemMessageA(window, IDC_WAIT_PROGRESS, PBM_SETPOS, (WPARAM)(delay - remaining), 0);
    SetDlgItemInt(window, IDC_WAIT_SECONDS, (UINT)remaining, TRUE);
}

static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message)
    {
    case WM_INITDIALOG:
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
        SendDlgItemMessageA(window, IDC_WAIT_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, delay));
        Show(window);
        SetTimer(window, 1, 1000, NULL);
        return TRUE;
    case WM_TIMER:
        if (--remaining >= 0)
        {
            Show(window);
            return TRUE;
        }
        KillTimer(window, 1);
        ShowWindow(window, SW_HIDE);
        EndDialog(window, IDOK);
        return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        SetBkMode((HDC)wParam, TRANSPARENT);
        return (INT_PTR)white;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            EndDialog(window, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)show;
    delay = atoi(commandLine);
    remaining = delay;
    InitCommonControls();
    white = CreateSolidBrush(RGB(255, 255, 255));
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_WAIT), NULL, Procedure, 0);
}
