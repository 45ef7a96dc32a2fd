// Replacements for a few functions of the C++ library, linked into the program
// alone (the test programs keep the library's own). Each one keeps whole parts
// of the library out of a program that starts at every logon.
//
// They rely on the library's internal names. Should a later library report an
// error through a function not named here, its own definition comes back: the
// program grows again (the size check of the test command says so). Should it
// also pull in the library's file that defines these, the link fails on the
// duplicate definitions, so nothing changes unnoticed.
#include <cstdlib>
#include <functional>
#include <new>
#include <string>

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

// The library's containers and std::function report misuse and exhaustion
// through these. Its own definitions build a typed exception with a message,
// which links every <stdexcept> class and a second string implementation into
// the program. None of these can be handled better than by giving up, which
// is what the program's handlers do with std::bad_alloc.
namespace std
{
void __throw_bad_alloc()
{
    throw std::bad_alloc();
}
void __throw_bad_function_call()
{
    throw std::bad_alloc();
}
void __throw_length_error(const char*)
{
    throw std::bad_alloc();
}
void __throw_logic_error(const char*)
{
    throw std::bad_alloc();
}
} // namespace std
