#include "ui/WindowIcons.h"

#include "framework/Dpi.h"
#include "ui/resource.h"

#include <utility>

void CWindowIcons::Show(HWND window, UINT dpi)
{
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(window, GWLP_HINSTANCE));
    auto load = [instance, dpi](int width, int height) {
        return CIconHandle(static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                                           MetricForDpi(width, dpi),
                                                           MetricForDpi(height, dpi), 0)));
    };
    CIconHandle newBig = load(SM_CXICON, SM_CYICON);
    CIconHandle newSmall = load(SM_CXSMICON, SM_CYSMICON);
    ::SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(newBig.get()));
    ::SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(newSmall.get()));
    big = std::move(newBig);
    small = std::move(newSmall);
}

void CWindowIcons::PaintMinimized(HWND window, HDC dc) const
{
    ::SendMessageA(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const UINT dpi = WindowDpi(window);
    const int iconWidth = MetricForDpi(SM_CXICON, dpi);
    const int iconHeight = MetricForDpi(SM_CYICON, dpi);
    RECT client;
    ::GetClientRect(window, &client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    ::DrawIconEx(dc, x, y, big.get(), iconWidth, iconHeight, 0, nullptr, DI_NORMAL);
}
