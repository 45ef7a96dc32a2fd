// The tool's file as Windows sees it: a 32-bit GUI program with ASLR, DEP and
// relocations, importing system DLLs only, with the stack protector linked in
// and a version resource.
#include "tests/support/Process.h"

#include "framework/Handle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace
{
class ExecutableImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::ifstream file(KestrupExePath(), std::ios::binary);
        image.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        ASSERT_GT(image.size(), 1024u);
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
        ASSERT_EQ(IMAGE_DOS_SIGNATURE, dos->e_magic);
        headers = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + dos->e_lfanew);
        ASSERT_EQ(static_cast<DWORD>(IMAGE_NT_SIGNATURE), headers->Signature);
    }

    const IMAGE_SECTION_HEADER* Sections() const { return IMAGE_FIRST_SECTION(headers); }

    // File offset of a relative virtual address.
    size_t Offset(DWORD rva) const
    {
        for (WORD i = 0; i < headers->FileHeader.NumberOfSections; ++i)
        {
            const IMAGE_SECTION_HEADER& s = Sections()[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    }

    std::string image;
    const IMAGE_NT_HEADERS32* headers = nullptr;
};

TEST_F(ExecutableImageTest, IsA32BitGuiProgramWithAslrAndDep)
{
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, headers->FileHeader.Machine);
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, headers->OptionalHeader.Magic);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, headers->OptionalHeader.Subsystem);
    const WORD flags = headers->OptionalHeader.DllCharacteristics;
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE) << std::hex << flags;
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_NX_COMPAT) << std::hex << flags;
    EXPECT_FALSE(headers->FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED)
        << "ASLR needs the relocations";
    EXPECT_NE(0u, headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size);
}

TEST_F(ExecutableImageTest, ImportsSystemDllsOnly)
{
    const std::set<std::string> system = {"kernel32.dll", "user32.dll",   "gdi32.dll",
                                          "advapi32.dll", "comctl32.dll", "comdlg32.dll",
                                          "msvcrt.dll",   "shell32.dll",  "ole32.dll"};
    const IMAGE_DATA_DIRECTORY& directory =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(0u, directory.Size);
    const auto* entry =
        reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + Offset(directory.VirtualAddress));
    int count = 0;
    for (; entry->Name != 0; ++entry, ++count)
    {
        std::string name = image.data() + Offset(entry->Name);
        std::transform(name.begin(), name.end(), name.begin(), ::tolower);
        EXPECT_TRUE(system.count(name)) << name << " is not a system DLL";
    }
    EXPECT_GT(count, 0);
}

TEST_F(ExecutableImageTest, ManifestRunsAsInvokerOnWindows7To11WithCommonControls6InUtf8)
{
    const CModuleHandle module(::LoadLibraryExA(KestrupExePath().c_str(), nullptr,
                                                LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module);
    HRSRC found = ::FindResourceA(module.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, found);
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(module.get(), found))),
                               ::SizeofResource(module.get(), found));
    for (const char* part :
         {"name=\"Microsoft.Windows.Kestrup\"", "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
          "level=\"asInvoker\"", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
          "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", ">UTF-8</activeCodePage>", ">true/pm</dpiAware>",
          ">PerMonitorV2, PerMonitor</dpiAwareness>"})
        EXPECT_NE(std::string::npos, manifest.find(part)) << part;
}

// The README's table of event IDs: "| ID | level | text |".
TEST_F(ExecutableImageTest, CarriesTheTextOfEveryEventIdTheReadmeLists)
{
    const CModuleHandle module(::LoadLibraryExA(KestrupExePath().c_str(), nullptr,
                                                LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module);
    std::ifstream readme(WindowsPathFromEnvironment("KESTRUP_README"));
    int rows = 0;
    for (std::string line; std::getline(readme, line);)
    {
        unsigned id = 0;
        char level[16] = "";
        int textStart = 0;
        if (std::sscanf(line.c_str(), "| %u | %15[A-Za-z] | %n", &id, level, &textStart) != 2
            || textStart == 0)
            continue;
        const std::string text = line.substr(textStart, line.rfind(" |") - textStart);
        const DWORD severity = std::string(level) == "Information" ? 1 : std::string(level) == "Warning" ? 2 : 3;
        CLocalMemory buffer;
        const DWORD length = ::FormatMessageA(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
            module.get(), severity << 30 | id, 0, reinterpret_cast<char*>(buffer.put()), 0, nullptr);
        EXPECT_EQ(text + "\r\n", length != 0 ? std::string(static_cast<const char*>(buffer.get()), length) : "")
            << "event " << id << " (" << level << ")";
        ++rows;
    }
    EXPECT_EQ(23, rows) << "started, aborted, failed, ended, quick ends, not kept running, not responding, planned "
                           "restart, restart time invalid, heartbeat seconds invalid, heartbeat failing, heartbeat "
                           "back, alive file stale, start after late, not ended, alive file never written, request "
                           "taken, show hours invalid, off hours begin, show hours begin, saved, removed, save failed";
}

TEST_F(ExecutableImageTest, CarriesTheStackProtectorAndItsVersion)
{
    EXPECT_NE(std::string::npos, image.find("stack smashing detected"))
        << "the stack protector's runtime is not linked in";

    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(KestrupExePath().c_str(), &handle);
    ASSERT_NE(0u, size);
    std::vector<char> info(size);
    ASSERT_TRUE(::GetFileVersionInfoA(KestrupExePath().c_str(), 0, size, info.data()));
    char* product = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\ProductName",
                                 reinterpret_cast<void**>(&product), &length));
    EXPECT_STREQ("vaxo Kestrup", product);
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(6, 3), static_cast<LONG>(fixed->dwProductVersionMS));
}
} // namespace
