#include "keep/AliveFile.h"

#include "framework/Handle.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
// Wine finds a file on a share whose server is down missing; Windows fails the look.
bool shareDown = false;
BOOL WINAPI LookThroughShare(LPCSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID data)
{
    if (!shareDown)
        return ::GetFileAttributesExA(path, level, data);
    ::SetLastError(ERROR_BAD_NETPATH);
    return FALSE;
}

void Append(const std::string& path)
{
    const CKernelHandle file(::CreateFileA(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file.get(), "+", 1, &written, nullptr);
}

struct AliveCase
{
    const char* description;
    // The file at the start, then at a look every 5 s: m missing, w written, s as before, d its share down.
    const char* looks;
    const char* frozen;  // at each look after the start
    int told;            // that the file was never written
};

class AliveFileTest : public ::testing::TestWithParam<AliveCase>
{
};

TEST_P(AliveFileTest, IsFrozenOnlyOnceSeen)
{
    const AliveCase& row = GetParam();
    const TempFolder temp{"alive"};
    const std::string path = temp.Path() + "alive.txt";
    int told = 0;
    CAliveFile file(path, 10, [&told] { ++told; }, LookThroughShare);
    std::string frozen;
    for (const char* look = row.looks; *look != '\0'; ++look)
    {
        shareDown = *look == 'd';
        if (*look == 'w')
            Append(path);
        const ULONGLONG at = (look - row.looks) * 5000ULL;
        if (at == 0)
            file.Begin(at);
        else
            frozen += file.Frozen(at) ? 'f' : '-';
    }
    shareDown = false;
    EXPECT_EQ(row.frozen, frozen) << row.description;
    EXPECT_EQ(row.told, told) << row.description;
}

INSTANTIATE_TEST_SUITE_P(Looks, AliveFileTest,
                         ::testing::Values(AliveCase{"never there", "mmmmm", "----", 1},
                                           AliveCase{"written, then no more", "wwss", "--f", 0},
                                           AliveCase{"written, then its share down", "wwdddd", "-----", 0}));
} // namespace
