#include "framework/DllSearch.h"

#include <windows.h>

void AfxRestrictDllSearchToSystem()
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    FARPROC address = kernel != nullptr ? ::GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (address != nullptr
        && reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(address))(
            LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    // Older systems: at least the current folder leaves the search order. This
    // setting is handed down to every program the tool starts, so it is made
    // only where nothing else helps.
    ::SetDllDirectoryA("");
}
