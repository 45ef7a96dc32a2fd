#include "framework/DllSearch.h"

#include "framework/Handle.h"

#include <gtest/gtest.h>

namespace
{
// kestrup_planted.dll lies beside this test program.
TEST(DllSearchTest, DllBesideTheProgramIsNotLoadedOnceTheSearchIsRestricted)
{
    CModuleHandle before(::LoadLibraryA("kestrup_planted.dll"));
    ASSERT_TRUE(before) << "the planted DLL must be loadable before, or this test proves nothing";
    before.reset();
    ASSERT_EQ(nullptr, ::GetModuleHandleA("kestrup_planted.dll"));

    AfxRestrictDllSearchToSystem();

    const CModuleHandle after(::LoadLibraryA("kestrup_planted.dll"));
    EXPECT_FALSE(after) << "a DLL beside the program was loaded";
    const CModuleHandle system(::LoadLibraryA("version.dll"));
    EXPECT_TRUE(system) << "system DLLs still load";
}
} // namespace
