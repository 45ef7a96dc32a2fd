#include "ui/CoverWindow.h"

namespace
{
const char kClassName[] = "vaxoKestrupCover";

// The largest rectangle of the picture's proportions centred in the area.
RECT Fitted(const SIZE& picture, const RECT& area)
{
    const LONG width = area.right - area.left;
    const LONG height = area.bottom - area.top;
    LONG fittedWidth = width;
    LONG fittedHeight = static_cast<LONG>(static_cast<LONGLONG>(picture.cy) * width / picture.cx);
    if (fittedHeight > height)
    {
        fittedHeight = height;
        fittedWidth = static_cast<LONG>(static_cast<LONGLONG>(picture.cx) * height / picture.cy);
    }
    const LONG left = area.left + (width - fittedWidth) / 2;
    const LONG top = area.top + (height - fittedHeight) / 2;
    return {left, top, left + fittedWidth, top + fittedHeight};
}
} // namespace

CCoverWindow::~CCoverWindow()
{
    if (window != nullptr)
        ::DestroyWindow(window);
}

bool CCoverWindow::Show(const RECT& monitor, const std::string& picture)
{
    if (window == nullptr)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = kClassName;
        ::RegisterClassA(&windowClass);
        window = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, "", WS_POPUP, 0,
                                   0, 0, 0, nullptr, nullptr, windowClass.hInstance, this);
    }
    if (picture != picturePath)
    {
        picturePath = picture;
        bitmap.reset();
        if (!picture.empty())
            bitmap = ReadPicture(picture, bitmapSize);
        pictureRead = picture.empty() || bitmap;
    }
    ::SetWindowPos(window, HWND_TOPMOST, monitor.left, monitor.top, monitor.right - monitor.left,
                   monitor.bottom - monitor.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::InvalidateRect(window, nullptr, TRUE);
    ::UpdateWindow(window);
    return pictureRead;
}

void CCoverWindow::Hide()
{
    if (window != nullptr)
        ::ShowWindow(window, SW_HIDE);
}

void CCoverWindow::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    RECT client;
    ::GetClientRect(window, &client);
    if (bitmap)
    {
        const RECT place = Fitted(bitmapSize, client);
        HDC source = ::CreateCompatibleDC(dc);
        const HGDIOBJ before = ::SelectObject(source, bitmap.get());
        ::SetStretchBltMode(dc, HALFTONE);
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
        ::StretchBlt(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, source, 0, 0,
                     bitmapSize.cx, bitmapSize.cy, SRCCOPY);
        ::SelectObject(source, before);
        ::DeleteDC(source);
    }
    ::EndPaint(window, &paint);
}

LRESULT CALLBACK CCoverWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<CCoverWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message)
    {
    case WM_PAINT:
        if (self != nullptr)
        {
            self->Paint();
            return 0;
        }
        break;
    case WM_SETCURSOR:
        ::SetCursor(nullptr);
        return TRUE;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}
