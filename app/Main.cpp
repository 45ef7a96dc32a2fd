#include "app/AutostartApp.h"
#include "framework/DllSearch.h"

#include <cstdlib>
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

// The library's default terminate handler prints the exception's demangled
// type, which links the whole demangler into the program; a GUI program has
// nowhere to print it.
namespace __gnu_cxx
{
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
