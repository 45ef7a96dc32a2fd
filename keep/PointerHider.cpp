#include "keep/PointerHider.h"

namespace
{
const char kClassName[] = "vaxoKestrupPointer";
// While hidden, the pointer's place is also looked at this often: a program
// may move it, and the lock's desktop tells no movement of its own.
constexpr DWORD kHiddenLookMs = 5000;
// The standard pointers (IDC_ARROW, IDC_IBEAM ... IDC_HELP), as SetSystemCursor names them.
const DWORD kStandardPointers[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643,
                                   32644, 32645, 32646, 32648, 32649, 32650, 32651};
// The mouse, for raw input.
constexpr USHORT kGenericDesktop = 1;
constexpr USHORT kMouse = 2;

// A crash of this program takes nobody's pointer with it.
LONG WINAPI GiveBackAtCrash(EXCEPTION_POINTERS*)
{
    ::SystemParametersInfoA(SPI_SETCURSORS, 0, nullptr, 0);
    return EXCEPTION_CONTINUE_SEARCH;
}
} // namespace

void HideSystemPointer(bool hidden)
{
    if (!hidden)
    {
        ::SystemParametersInfoA(SPI_SETCURSORS, 0, nullptr, 0);
        return;
    }
    BYTE transparent[32 * 32 / 8];
    BYTE black[32 * 32 / 8] = {};
    for (BYTE& bits : transparent)
        bits = 0xFF;
    // SetSystemCursor takes the cursor it is given and destroys it: one each.
    for (DWORD id : kStandardPointers)
        if (HCURSOR blank = ::CreateCursor(::GetModuleHandleA(nullptr), 0, 0, 32, 32, transparent, black))
            if (!::SetSystemCursor(blank, id))
                ::DestroyCursor(blank);
}

CPointerHider::CPointerHider(ULONGLONG quietMs, void (*hide)(bool)) : quietMs(quietMs), hide(hide)
{
    if (quietMs == 0)
        return;
    stillSinceMs = ::GetTickCount64();
    ::GetCursorPos(&place);
    crashFilterBefore = ::SetUnhandledExceptionFilter(GiveBackAtCrash);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassA(&windowClass);
    window = ::CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               windowClass.hInstance, this);
    const RAWINPUTDEVICE mouse = {kGenericDesktop, kMouse, RIDEV_INPUTSINK, window};
    if (window != nullptr)
        ::RegisterRawInputDevices(&mouse, 1, sizeof(mouse));
}

CPointerHider::~CPointerHider()
{
    if (hidden)
        hide(false);
    if (quietMs != 0)
        ::SetUnhandledExceptionFilter(crashFilterBefore);
    if (window == nullptr)
        return;
    const RAWINPUTDEVICE mouse = {kGenericDesktop, kMouse, RIDEV_REMOVE, nullptr};
    ::RegisterRawInputDevices(&mouse, 1, sizeof(mouse));
    ::DestroyWindow(window);
}

DWORD CPointerHider::UntilLook(ULONGLONG nowMs) const
{
    if (quietMs == 0)
        return INFINITE;
    if (hidden)
        return kHiddenLookMs;
    const ULONGLONG due = stillSinceMs + quietMs;
    return due > nowMs ? static_cast<DWORD>(due - nowMs) : 0;
}

void CPointerHider::Look(ULONGLONG nowMs)
{
    if (quietMs == 0)
        return;
    POINT now = {};
    const bool readable = ::GetCursorPos(&now) != FALSE;
    const bool placeChanged = readable && (now.x != place.x || now.y != place.y);
    const bool moved = movedUnseen || placeChanged;
    movedUnseen = false;
    place = readable ? now : place;
    // One that cannot be read counts as still from when it can be again.
    stillSinceMs = placeChanged || !readable ? nowMs : stillSinceMs;
    const ULONGLONG stillMs = nowMs > stillSinceMs ? nowMs - stillSinceMs : 0;
    Step(watch::NextPointerStep(hidden, moved, readable, stillMs, quietMs), nowMs);
}

void CPointerHider::Step(watch::PointerStep step, ULONGLONG nowMs)
{
    if (step == watch::PointerStep::Keep)
        return;
    hidden = step == watch::PointerStep::Hide;
    hide(hidden);
    if (!hidden)
        stillSinceMs = nowMs;
}

LRESULT CALLBACK CPointerHider::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<CPointerHider*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    // A movement shows the pointer at once.
    if (message == WM_INPUT && self != nullptr)
    {
        self->movedUnseen = true;
        self->stillSinceMs = ::GetTickCount64();
        if (self->hidden)
            self->Step(watch::PointerStep::Show, ::GetTickCount64());
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}
