#include "ui/TextRoom.h"

#include "framework/Dpi.h"

#include <algorithm>
#include <vector>

namespace
{
// Dialog units between a control and its neighbour, and inside an edge.
constexpr int kGapUnits = 4;
constexpr int kEdgeUnits = 6;
constexpr size_t kMostCharacters = 1024;

std::wstring TextOf(HWND window)
{
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// What is drawn of a text with an accelerator: "&&" shows one '&', '&' none.
std::wstring Shown(const std::wstring& text)
{
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i)
        shown += text[i] == L'&' && i + 1 < text.size() ? text[++i] : text[i];
    return shown;
}

bool IsClass(HWND window, const char* name)
{
    char found[32] = "";
    ::GetClassNameA(window, found, sizeof(found));
    return _stricmp(found, name) == 0;
}

LONG Style(HWND window) { return ::GetWindowLongA(window, GWL_STYLE); }

bool IsGroupBox(HWND window) { return IsClass(window, "Button") && (Style(window) & BS_TYPEMASK) == BS_GROUPBOX; }

bool IsChoice(HWND window)
{
    const LONG type = Style(window) & BS_TYPEMASK;
    return IsClass(window, "Button")
           && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON
               || type == BS_3STATE || type == BS_AUTO3STATE);
}

bool IsLabel(HWND window)
{
    const LONG type = Style(window) & SS_TYPEMASK;
    return IsClass(window, "Static") && (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE
                                         || type == SS_LEFTNOWORDWRAP);
}

RECT RectIn(HWND parent, HWND window)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LONG Units(HWND dialog, int units)
{
    RECT rect = {0, 0, units, 0};
    ::MapDialogRect(dialog, &rect);
    return rect.right;
}

// The edges a control may grow to: its group's or the window's, and the
// nearest controls on its row to either side.
struct Room
{
    LONG left, right;
    std::vector<HWND> toTheRight;
};

Room RoomOf(HWND dialog, HWND control, const RECT& own)
{
    RECT client;
    ::GetClientRect(dialog, &client);
    const LONG gap = Units(dialog, kGapUnits), edge = Units(dialog, kEdgeUnits);
    Room room = {client.left + edge, client.right - edge, {}};
    for (HWND other = ::GetWindow(dialog, GW_CHILD); other != nullptr; other = ::GetWindow(other, GW_HWNDNEXT))
    {
        const RECT rect = RectIn(dialog, other);
        if (other == control || (Style(other) & WS_VISIBLE) == 0 || rect.bottom <= own.top || rect.top >= own.bottom
            || (IsClass(other, "Static") && (Style(other) & SS_TYPEMASK) == SS_BITMAP))
            continue;
        if (IsGroupBox(other))
        {
            if (rect.left <= own.left && rect.right >= own.right && rect.top <= own.top && rect.bottom >= own.bottom)
            {
                room.left = std::max(room.left, rect.left + edge);
                room.right = std::min(room.right, rect.right - edge);
            }
            continue;
        }
        if (rect.left >= own.right - gap)
        {
            room.right = std::min(room.right, rect.left - gap);
            room.toTheRight.push_back(other);
        }
        else if (rect.right <= own.left + gap)
            room.left = std::max(room.left, rect.right + gap);
    }
    return room;
}

void MoveBy(HWND dialog, HWND window, LONG dx)
{
    const RECT rect = RectIn(dialog, window);
    ::SetWindowPos(window, nullptr, rect.left + dx, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

int WidthForText(HWND control, const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                                          wide.data(), static_cast<int>(wide.size()))));
    return WidthForWide(control, wide);
}

int WidthForWide(HWND control, const std::wstring& wide)
{
    const std::wstring shown = IsLabel(control) && (Style(control) & SS_NOPREFIX) ? wide : Shown(wide);
    HDC dc = ::GetDC(control);
    const HGDIOBJ before = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    // A text wider than any screen is measured no further.
    const int measured = static_cast<int>(std::min(shown.size(), kMostCharacters));
    ::GetTextExtentPoint32W(dc, shown.c_str(), measured, &size);
    ::SelectObject(dc, before);
    ::ReleaseDC(control, dc);
    const UINT dpi = WindowDpi(control);
    if (IsChoice(control))
        return size.cx + MulDiv(20, static_cast<int>(dpi), kDefaultDpi);  // the box, its gap, the focus frame
    if (IsClass(control, "ComboBox"))
        return size.cx + MetricForDpi(SM_CXVSCROLL, dpi) + 2 * MetricForDpi(SM_CXEDGE, dpi)
               + MulDiv(6, static_cast<int>(dpi), kDefaultDpi);
    return size.cx + 1;
}

void WidenInRow(HWND control, int width, bool pushRow)
{
    const HWND dialog = ::GetParent(control);
    RECT own = RectIn(dialog, control);
    LONG missing = width - (own.right - own.left);
    if (missing <= 0)
        return;
    const Room room = RoomOf(dialog, control, own);
    const LONG free = std::max(room.right - own.right, 0L);
    if (pushRow && !room.toTheRight.empty())
    {
        RECT client;
        ::GetClientRect(dialog, &client);
        LONG last = own.right;
        for (HWND other : room.toTheRight)
            last = std::max(last, RectIn(dialog, other).right);
        const LONG shift =
            std::clamp(missing - free, 0L, std::max(client.right - Units(dialog, kEdgeUnits) - last, 0L));
        for (HWND other : room.toTheRight)
            MoveBy(dialog, other, shift);
        own.right += std::min(missing, free + shift);
    }
    else
    {
        const LONG right = own.right + std::min(missing, free);
        missing -= right - own.right;
        own.right = right;
        own.left -= std::clamp(missing, 0L, std::max(own.left - room.left, 0L));
    }
    ::SetWindowPos(control, nullptr, own.left, own.top, own.right - own.left, own.bottom - own.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void FitTexts(HWND dialog)
{
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        if (IsLabel(child) || IsChoice(child))
        {
            const std::wstring text = TextOf(child);
            if (!text.empty())
                WidenInRow(child, WidthForWide(child, text));
        }
}
