#include "tests/support/WindowDriver.h"

#include <vector>

namespace windows
{
namespace
{
struct Search
{
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM context)
{
    Search* search = reinterpret_cast<Search*>(context);
    if ((*search->match)(window))
    {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND WaitFor(const std::function<bool(HWND)>& match, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;)
    {
        Search search{&match, nullptr};
        ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        if (::GetTickCount() - start > timeoutMs)
            return nullptr;
        ::Sleep(20);
    }
}

std::string ClassName(HWND window)
{
    char name[256] = "";
    ::GetClassNameA(window, name, sizeof(name));
    return name;
}

bool IsVisibleDialog(HWND window)
{
    return ::IsWindowVisible(window) && ClassName(window) == "#32770";
}

bool BelongsToThread(HWND window, DWORD threadId)
{
    return ::GetWindowThreadProcessId(window, nullptr) == threadId;
}

bool BelongsToProcess(HWND window, DWORD processId)
{
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    return owner == processId;
}

std::string Text(HWND window)
{
    const int length = static_cast<int>(::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    ::SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

std::string ControlText(HWND dialog, int id)
{
    return Text(::GetDlgItem(dialog, id));
}

std::string MessageBoxText(HWND box)
{
    // The text is the box's one static control that is not its icon.
    std::string longest;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT))
    {
        if (ClassName(child) != "Static")
            continue;
        const std::string text = Text(child);
        if (text.size() > longest.size())
            longest = text;
    }
    return longest;
}

void Press(HWND dialog, int buttonId)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, buttonId)));
}

void PressKey(HWND window, WORD key)
{
    ::SetForegroundWindow(window);
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

namespace
{
BOOL CALLBACK Collect(HWND window, LPARAM context)
{
    if (IsVisibleDialog(window))
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> DialogsOfThread(DWORD threadId)
{
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(threadId, Collect, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}
} // namespace windows

UiDriver::UiDriver(std::function<void(DWORD)> script)
{
    const DWORD uiThread = ::GetCurrentThreadId();
    thread = std::thread([script, uiThread] {
        script(uiThread);
        for (int attempt = 0; attempt < 500; ++attempt)
        {
            const std::vector<HWND> open = windows::DialogsOfThread(uiThread);
            if (open.empty())
                return;
            for (HWND window : open)
                ::PostMessageA(window, WM_CLOSE, 0, 0);
            ::Sleep(20);
        }
    });
}

UiDriver::~UiDriver()
{
    thread.join();
}
