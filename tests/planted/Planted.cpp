// A harmless DLL placed beside a program, as an attacker would plant one.
#include <windows.h>

extern "C" __declspec(dllexport) int PlantedMarker()
{
    return 42;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
