#include "app/AutostartApp.h"
#include "framework/DllSearch.h"

CAutostartApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    AfxRestrictDllSearchToSystem();
    return AfxWinMain(instance);
}
