#include "framework/Dpi.h"

#include "framework/DynamicFunction.h"
#include "framework/Handle.h"

namespace
{
// Functions of user32 that older Windows lack.
template <typename Function>
Function NewerUser32Function(const char* name)
{
    return DynamicFunction<Function>(::GetModuleHandleA("user32.dll"), name);
}

UINT ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}
} // namespace

UINT WindowDpi(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    const auto getDpiForWindow = NewerUser32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : ScreenDpi();
}

int MetricForDpi(int index, UINT dpi)
{
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    const auto forDpi = NewerUser32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (forDpi != nullptr)
        return forDpi(index, dpi);
    // Older systems give every metric at the screen's DPI.
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}

int DpiScale(UINT dpi)
{
    return ::MulDiv(static_cast<int>(dpi), kUnscaled, kDefaultDpi);
}

int DialogScale(HWND dialog)
{
    RECT units = {0, 0, 4, 8};
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA shape = {};
    if (!::MapDialogRect(dialog, &units) || font == nullptr || ::GetObjectA(font, sizeof(shape), &shape) == 0)
        return DpiScale(WindowDpi(dialog));
    // The template gives the font in points; its height in pixels at 96 DPI
    // comes from them, as the dialog manager rounds it.
    const int points = ::MulDiv(shape.lfHeight < 0 ? -shape.lfHeight : shape.lfHeight, 72,
                                static_cast<int>(WindowDpi(dialog)));
    shape.lfHeight = -::MulDiv(points, kDefaultDpi, 72);
    const CGdiObjectT<HFONT> at96(::CreateFontIndirectA(&shape));
    HDC dc = ::GetDC(dialog);
    const HGDIOBJ before = ::SelectObject(dc, at96.get());
    // The average character width, as the dialog manager measures it.
    SIZE alphabet = {};
    ::GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
    ::SelectObject(dc, before);
    ::ReleaseDC(dialog, dc);
    const int baseAt96 = (alphabet.cx / 26 + 1) / 2;
    return baseAt96 > 0 ? ::MulDiv(units.right, kUnscaled, baseAt96) : kUnscaled;
}
