#include "keep/WindowShowHook.h"

namespace
{
// The hook's callback carries no pointer of its own: one hook at a time in
// the process, told on the thread that set it.
CWindowShowHook* current = nullptr;
} // namespace

CWindowShowHook::CWindowShowHook(ShownFunction shown, void* context) : shown(shown), context(context)
{
    if (shown == nullptr || current != nullptr)
        return;
    hook = ::SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, Event, 0, 0,
                             WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (hook != nullptr)
        current = this;
}

CWindowShowHook::~CWindowShowHook()
{
    if (hook == nullptr)
        return;
    ::UnhookWinEvent(hook);
    current = nullptr;
}

void CALLBACK CWindowShowHook::Event(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (current != nullptr && window != nullptr && object == OBJID_WINDOW && child == CHILDID_SELF
        && ::GetAncestor(window, GA_ROOT) == window)
        current->shown(current->context, window);
}
