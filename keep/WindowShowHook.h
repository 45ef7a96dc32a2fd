#pragma once

#include <windows.h>

#include <functional>

// Tells of each top-level window that any process shows, as Windows shows it:
// an out-of-context hook (EVENT_OBJECT_SHOW), told among this thread's
// messages while it waits for them, with no time of the processor's between.
// Nothing is hooked where `shown` is empty.
class CWindowShowHook
{
public:
    explicit CWindowShowHook(std::function<void(HWND)> shown);
    ~CWindowShowHook();
    CWindowShowHook(const CWindowShowHook&) = delete;
    CWindowShowHook& operator=(const CWindowShowHook&) = delete;

private:
    static void CALLBACK Event(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                               DWORD time);

    std::function<void(HWND)> shown;
    HWINEVENTHOOK hook = nullptr;
};
