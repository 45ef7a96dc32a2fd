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
#include <new>

// The program is built without exceptions, but the library's containers and
// std::function report exhaustion and misuse through these, and its
// operator new throws when memory runs out; its own definitions throw,
// which links the exception runtime, the unwinder, every <stdexcept> class
// and a second string implementation into the program. There is nothing
// better to do in any of these cases than to end the program.
namespace std
{
void __throw_bad_alloc()
{
    std::abort();
}
void __throw_bad_array_new_length()
{
    std::abort();
}
void __throw_bad_function_call()
{
    std::abort();
}
void __throw_length_error(const char*)
{
    std::abort();
}
void __throw_logic_error(const char*)
{
    std::abort();
}
} // namespace std

// The library's operator delete releases with std::free, as this expects.
void* operator new(std::size_t size)
{
    if (void* memory = std::malloc(size != 0 ? size : 1))
        return memory;
    std::abort();
}
