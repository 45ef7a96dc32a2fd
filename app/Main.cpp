#include "app/AutostartApp.h"
#include "framework/DllSearch.h"

#include <new>

CAutostartApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    AfxRestrictDllSearchToSystem();
    try
    {
        return AfxWinMain(instance);
    }
    catch (const std::bad_alloc&)
    {
        return -1;
    }
}
