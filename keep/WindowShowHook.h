#pragma once

#include <windows.h>

// Tells of each top-level window that any process shows, as Windows shows it:
// an out-of-context hook (EVENT_OBJECT_SHOW), told among this thread's
// messages while it waits for them, with no time of the processor's between.
// Nothing is hooked where `shown` is null.
class CWindowShowHook
{
public:
    using ShownFunction = void (*)(void* context, HWND window);
    CWindowShowHook(ShownFunction shown, void* context);
    ~CWindowShowHook();
    CWindowShowHook(const CWindowShowHook&) = delete;
    CWindowShowHook& operator=(const CWindowShowHook&) = delete;

private:
    static void CALLBACK Event(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                               DWORD time);

    ShownFunction shown;
    void* context;
    HWINEVENTHOOK hook = nullptr;
};
