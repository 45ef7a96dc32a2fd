#include "launch/LateVolumeCheck.h"

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

DWORD WINAPI CLateVolumeCheck::Run(void* parameter)
{
    Look* look = static_cast<Look*>(parameter);
    std::string volume = look->function(look->program);
    if (volume.empty())
        volume = look->function(look->show);
    look->answer = std::move(volume);
    ::InterlockedExchange(&look->done, 1);
    ::PostMessageA(look->window, look->message, 0, 0);
    Release(look);
    return 0;
}

bool CLateVolumeCheck::Start(HWND window, UINT message)
{
    Look* look = new Look{2, 0, program, show, lookFunction, window, message, std::string()};
    const HANDLE started = ::CreateThread(nullptr, 0, Run, look, 0, nullptr);
    if (started == nullptr)
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
    return thread != nullptr && ::WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
}

std::string CLateVolumeCheck::Answer() const
{
    return current != nullptr && !UnderWay() ? current->answer : std::string();
}
