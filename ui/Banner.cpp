#include "ui/Banner.h"

#include "framework/Dpi.h"

#include <utility>

void CBanner::Attach(HWND dialog, UINT bitmapId)
{
    m_bitmapId = bitmapId;
    m_scale = kUnscaled;
    char className[8] = "";
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        if (::GetClassNameA(child, className, sizeof(className)) != 0 && lstrcmpiA(className, "Static") == 0
            && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
        {
            m_control = child;
            return;
        }
    }
}

void CBanner::ScaleTo(int scale)
{
    if (m_control == nullptr)
        return;
    if (scale != m_scale)
        ShowPicture(scale);
    // Windows may have scaled the control with the dialog, after it had taken
    // the picture's size: it takes that size again.
    BITMAP shape = {};
    const auto shown = reinterpret_cast<HBITMAP>(::SendMessageA(m_control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (shown != nullptr && ::GetObjectA(shown, sizeof(shape), &shape) != 0)
        ::SetWindowPos(m_control, nullptr, 0, 0, shape.bmWidth, shape.bmHeight,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBanner::ShowPicture(int scale)
{
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(m_control, GWLP_HINSTANCE));
    // The pictures are run-length encoded, which not every system makes into
    // a DIB section: the screen's own kind of bitmap scales as well.
    CBitmapHandle original(static_cast<HBITMAP>(
        ::LoadImageA(instance, MAKEINTRESOURCEA(m_bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!original)
        original.reset(static_cast<HBITMAP>(::LoadImageA(instance, MAKEINTRESOURCEA(m_bitmapId), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP shape = {};
    if (!original || ::GetObjectA(original.get(), sizeof(shape), &shape) == 0)
        return;
    CBitmapHandle picture =
        scale == kUnscaled ? std::move(original)
                           : ScaledBitmap(original.get(), ::MulDiv(shape.bmWidth, scale, kUnscaled),
                                          ::MulDiv(shape.bmHeight, scale, kUnscaled));
    if (!picture)
        return;
    // The picture shown before is this object's to delete: one it set, or the
    // one the control loaded from the template.
    const auto previous = reinterpret_cast<HBITMAP>(::SendMessageA(
        m_control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get())));
    if (previous != nullptr && previous != m_picture.get())
        ::DeleteObject(previous);
    m_picture = std::move(picture);
    m_scale = scale;
}
