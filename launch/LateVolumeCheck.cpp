#include "launch/LateVolumeCheck.h"

#include "launch/LateVolume.h"

// Shared by the check and its thread, whichever lets go of it last.
struct CLateVolumeCheck::Look
{
    LONG holders = 2;
    volatile LONG done = 0;
    std::string program;
    std::string show;
    LookFunction function;
    HWND window;
    UINT message;
    std::string answer;
};

CLateVolumeCheck::CLateVolumeCheck(std::string program, std::string show, LookFunction look)
    : program(std::move(program)), show(std::move(show)), lookFunction(look)
{
}

CLateVolumeCheck::~CLateVolumeCheck()
{
    Forget();
}

void CLateVolumeCheck::Forget()
{
    if (thread != nullptr)
        ::CloseHandle(thread);
    if (current != nullptr)
        Release(current);
    thread = nullptr;
    current = nullptr;
}

void CLateVolumeCheck::Release(Look* look)
{
    if (::InterlockedDecrement(&look->holders) == 0)
        delete look;
}

void CLateVolumeCheck::Answer(Look* look)
{
    std::string volume = look->function(look->program);
    if (volume.empty())
        volume = look->function(look->show);
    look->answer = std::move(volume);
    ::InterlockedExchange(&look->done, 1);
}

DWORD WINAPI CLateVolumeCheck::Run(void* parameter)
{
    Look* look = static_cast<Look*>(parameter);
    Answer(look);
    ::PostMessageA(look->window, look->message, 0, 0);
    Release(look);
    return 0;
}

bool CLateVolumeCheck::Start(HWND window, UINT message)
{
    // A thread costs memory for as long as the program runs: a look that
    // never waits on a server is made here.
    const bool mayStall = LookMayStall(program) || LookMayStall(show);
    Look* look = new Look{mayStall ? 2 : 1, 0, program, show, lookFunction, window, message, std::string()};
    HANDLE started = nullptr;
    if (!mayStall)
        Answer(look);
    else if ((started = ::CreateThread(nullptr, 0, Run, look, 0, nullptr)) == nullptr)
    {
        delete look;
        return false;
    }
    Forget();
    thread = started;
    current = look;
    return true;
}

bool CLateVolumeCheck::UnderWay() const
{
    return current != nullptr && ::InterlockedCompareExchange(&current->done, 0, 0) == 0;
}

bool CLateVolumeCheck::WaitForAnswer(DWORD milliseconds) const
{
    return !UnderWay() || (thread != nullptr && ::WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0);
}

std::string CLateVolumeCheck::Answer() const
{
    return current != nullptr && !UnderWay() ? current->answer : std::string();
}
