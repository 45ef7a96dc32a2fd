#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Works the settings dialog from a driver thread (or another process) as a
// user would: clicks by control id, typed text, message boxes answered.
struct SeenBox
{
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    bool found = false;
};

struct SettingsFields
{
    int checkedRadio = 0;          // control id of the checked radio button, 0 for none
    bool zentorEnabled, orbxEnabled;
    bool appPathReadOnly, showPathReadOnly, parameterReadOnly, delayReadOnly;
    bool browseAppEnabled, browseShowEnabled, kioskEnabled, spinEnabled, keepRunningEnabled;
    bool kioskChecked;
    std::string appPath, showPath, parameter, delay;
    std::string title;
    std::vector<std::string> slots;
    std::string slot;  // the slot list's selected entry
    std::string startAfter;  // the Start-after list's
    bool slotListOpen = false;
};

class SettingsSession
{
public:
    // Waits for the dialog of the given thread (or, with byProcess, process).
    explicit SettingsSession(DWORD owner, bool byProcess = false);

    bool Found() const { return dialog != nullptr; }
    HWND Dialog() const { return dialog; }

    // Clicks a button; returns once the click was handled or a box it opened is up.
    void Click(int id);
    // Text in UTF-8, typed as the user types any character.
    void Type(int id, const std::string& text);
    // Chooses the slot's entry in the slot list, as a click on it does.
    void ChooseSlot(int slot);
    // Presses the key on the slot list as the keyboard does, until the list opened, closed or moved.
    void PressOnSlotList(WORD key);
    SettingsFields Read() const;

    // Waits for a message box of the dialog's thread and presses the button.
    SeenBox AnswerBox(int button = IDOK, DWORD timeoutMs = 20000);
    bool WaitUntilClosed(DWORD timeoutMs = 20000) const;

private:
    bool Matches(HWND window) const;

    DWORD owner;
    bool byProcess;
    HWND dialog = nullptr;
};

// Waits for a message box of a thread (or process) before any dialog exists.
SeenBox AnswerBoxOf(DWORD owner, bool byProcess, HWND except, DWORD timeoutMs = 20000, int button = IDOK);
