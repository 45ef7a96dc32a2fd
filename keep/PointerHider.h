#pragma once

#include <windows.h>

namespace watch
{
enum class PointerStep
{
    Keep,
    Hide,
    Show,
};

// Whether to hide or show the pointer at a look: `moved` since the look
// before, `readable` where its place could be read (not while another desktop,
// the lock or the secure one, is shown), still for `stillMs`. A pointer that
// cannot be read is given back: nobody is ever left without one.
inline PointerStep NextPointerStep(bool hidden, bool moved, bool readable, ULONGLONG stillMs, ULONGLONG quietMs)
{
    if (hidden)
        return moved || !readable ? PointerStep::Show : PointerStep::Keep;
    return readable && !moved && stillMs >= quietMs ? PointerStep::Hide : PointerStep::Keep;
}
} // namespace watch

// Hides every pointer of the session (each standard one blank) or gives the
// user's back (SPI_SETCURSORS: their scheme as stored), for this session only.
void HideSystemPointer(bool hidden);

// Hides the pointer once it has not moved for a while and shows it at its
// next movement (raw input, told even while another program is in front),
// until it goes: the pointer is given back then, and at a crash of this
// program (an end from outside, by Task Manager, leaves it hidden until the
// logoff or the pointers' settings are applied again). Nothing takes the
// processor's time while the pointer does not move, but a look when due.
class CPointerHider
{
public:
    // quietMs 0: the pointer is left alone; `hide` hides it or gives it back.
    CPointerHider(ULONGLONG quietMs, void (*hide)(bool));
    ~CPointerHider();
    CPointerHider(const CPointerHider&) = delete;
    CPointerHider& operator=(const CPointerHider&) = delete;

    // Milliseconds until the next look is due (INFINITE: none).
    DWORD UntilLook(ULONGLONG nowMs) const;
    // Hides or shows the pointer as it is found now, when a look is due.
    void Look(ULONGLONG nowMs);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Step(watch::PointerStep step, ULONGLONG nowMs);

    ULONGLONG quietMs;
    void (*hide)(bool);
    HWND window = nullptr;
    bool hidden = false;
    bool movedUnseen = false;
    POINT place = {};
    ULONGLONG stillSinceMs = 0;
    LPTOP_LEVEL_EXCEPTION_FILTER crashFilterBefore = nullptr;
};
