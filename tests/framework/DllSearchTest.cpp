#include "framework/DllSearch.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace
{
// kestrup_planted.dll lies beside this test program.
TEST(DllSearchTest, DllBesideTheProgramIsNotLoadedOnceTheSearchIsRestricted)
{
    HMODULE before = ::LoadLibraryA("kestrup_planted.dll");
    ASSERT_NE(nullptr, before) << "the planted DLL must be loadable before, or this test proves nothing";
    ::FreeLibrary(before);
    ASSERT_EQ(nullptr, ::GetModuleHandleA("kestrup_planted.dll"));

    AfxRestrictDllSearchToSystem();

    HMODULE after = ::LoadLibraryA("kestrup_planted.dll");
    EXPECT_EQ(nullptr, after) << "a DLL beside the program was loaded";
    if (after != nullptr)
        ::FreeLibrary(after);
    HMODULE system = ::LoadLibraryA("version.dll");
    EXPECT_NE(nullptr, system) << "system DLLs still load";
    if (system != nullptr)
        ::FreeLibrary(system);
}
} // namespace
