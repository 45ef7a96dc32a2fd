#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

// Finding and working real windows from a test, the way a user would: by
// caption, owning thread or process, and control id.
namespace windows
{
// A visible top-level dialog-class window that satisfies the test; null when
// none appears within the time.
HWND WaitFor(const std::function<bool(HWND)>& match, DWORD timeoutMs = 30000);

bool IsVisibleDialog(HWND window);
bool BelongsToThread(HWND window, DWORD threadId);
bool BelongsToProcess(HWND window, DWORD processId);

std::string Text(HWND window);
std::string ControlText(HWND dialog, int id);
std::string ClassName(HWND window);

// The message text of a message box.
std::string MessageBoxText(HWND box);

// Presses a button of a dialog or message box.
void Press(HWND dialog, int buttonId);
// Brings the window to the front and presses the key, as the keyboard does.
void PressKey(HWND window, WORD key);

// The visible dialogs and message boxes of a thread.
std::vector<HWND> DialogsOfThread(DWORD threadId);
} // namespace windows

// Runs a test's script on a second thread while the test's own thread runs a
// modal loop. Whatever the script leaves open on the UI thread is closed when
// the driver ends, so that a failed script never leaves a test hanging.
class UiDriver
{
public:
    explicit UiDriver(std::function<void(DWORD uiThreadId)> script);
    ~UiDriver();

    UiDriver(const UiDriver&) = delete;
    UiDriver& operator=(const UiDriver&) = delete;

private:
    std::thread thread;
};
