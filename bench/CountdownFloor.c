/* The floor for the countdown: the same template and resources, topmost,
   ticking the same label and bar once a second with plain Win32 calls, no
   framework layer and no C++ runtime. Ends after the tick that takes the
   count below zero.   countdown_floor.exe DELAY [URL]
   With a URL, a thread of its own also requests it (GET, with WinHTTP,
   loaded then) every 10 s: the least a heartbeat that never holds the
   window up costs. */
#include "ui/resource.h"

#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>
#include <string.h>
#include <winhttp.h>

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

static wchar_t url[2084];

static DWORD WINAPI Beat(void* parameter)
{
    HMODULE winHttp = (HMODULE)parameter;
    typeof(&WinHttpCrackUrl) crackUrl = (void*)GetProcAddress(winHttp, "WinHttpCrackUrl");
    typeof(&WinHttpOpen) open = (void*)GetProcAddress(winHttp, "WinHttpOpen");
    typeof(&WinHttpSetTimeouts) setTimeouts = (void*)GetProcAddress(winHttp, "WinHttpSetTimeouts");
    typeof(&WinHttpConnect) connect = (void*)GetProcAddress(winHttp, "WinHttpConnect");
    typeof(&WinHttpOpenRequest) openRequest = (void*)GetProcAddress(winHttp, "WinHttpOpenRequest");
    typeof(&WinHttpSendRequest) sendRequest = (void*)GetProcAddress(winHttp, "WinHttpSendRequest");
    typeof(&WinHttpReceiveResponse) receiveResponse = (void*)GetProcAddress(winHttp, "WinHttpReceiveResponse");
    typeof(&WinHttpCloseHandle) closeHandle = (void*)GetProcAddress(winHttp, "WinHttpCloseHandle");
    URL_COMPONENTS parts;
    memset(&parts, 0, sizeof(parts));
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = parts.dwUrlPathLength = (DWORD)-1;
    wchar_t host[256];
    if (!crackUrl(url, 0, 0, &parts) || parts.dwHostNameLength >= 256)
        return 1;
    lstrcpynW(host, parts.lpszHostName, (int)parts.dwHostNameLength + 1);
    for (;;)
    {
        HINTERNET session = open(L"floor", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
        setTimeouts(session, 0, 10000, 10000, 10000);
        HINTERNET connection = connect(session, host, parts.nPort, 0);
        HINTERNET request = openRequest(connection, L"GET", parts.lpszUrlPath, NULL, WINHTTP_NO_REFERER,
                                        WINHTTP_DEFAULT_ACCEPT_TYPES, 0);
        if (sendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
            receiveResponse(request, NULL);
        closeHandle(request);
        closeHandle(connection);
        closeHandle(session);
        Sleep(10000);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)show;
    delay = atoi(commandLine);
    remaining = delay;
    InitCommonControls();
    white = CreateSolidBrush(RGB(255, 255, 255));
    const char* address = strchr(commandLine, ' ');
    HMODULE winHttp = address != NULL ? LoadLibraryA("winhttp.dll") : NULL;
    if (winHttp != NULL)
    {
        MultiByteToWideChar(CP_ACP, 0, address + 1, -1, url, 2083);
        CloseHandle(CreateThread(NULL, 0, Beat, winHttp, 0, NULL));
    }
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_WAIT), NULL, Procedure, 0);
}
