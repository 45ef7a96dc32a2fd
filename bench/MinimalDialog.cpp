// The floor for start-up figures: the smallest program that shows a dialog,
// built with the same toolchain and flags as the tool.
#include <windows.h>

namespace
{
INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
    {
        ::EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    if (message == WM_CLOSE)
    {
        ::EndDialog(window, IDCANCEL);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(::DialogBoxParamA(instance, MAKEINTRESOURCEA(1), nullptr, Procedure, 0));
}
