#pragma once

#include <windows.h>

#include <string>

// The late volume of a program and its show file (the program's first), looked
// for on a thread of its own: on a share whose server does not answer, or a
// mapped drive whose server is off, one look may take half a minute, which
// the countdown must not spend frozen. One look at a time; its answer is
// posted to the window (a look that cannot wait on a server is answered at
// once, with no thread and no message). A look still under way when its window has gone, or
// its check has, ends unheard.
class CLateVolumeCheck
{
public:
    using LookFunction = std::string (*)(const std::string& path);

    CLateVolumeCheck(std::string program, std::string show, LookFunction look);
    ~CLateVolumeCheck();

    CLateVolumeCheck(const CLateVolumeCheck&) = delete;
    CLateVolumeCheck& operator=(const CLateVolumeCheck&) = delete;

    // Starts a look that posts `message` to the window when it has an
    // answer; false where no thread can be had.
    bool Start(HWND window, UINT message);
    bool UnderWay() const;
    // Waits that long at most for the look under way; true once it has
    // answered (its message comes all the same).
    bool WaitForAnswer(DWORD milliseconds) const;

    // The volume the last look found (empty where nothing is waited for);
    // read once its message has come.
    std::string Answer() const;

private:
    struct Look;
    static void Answer(Look* look);
    static DWORD WINAPI Run(void* look);
    static void Release(Look* look);
    void Forget();

    Look* current = nullptr;
    HANDLE thread = nullptr;
    std::string program;
    std::string show;
    LookFunction lookFunction;
};
