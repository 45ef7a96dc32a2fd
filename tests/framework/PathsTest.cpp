#include "framework/Paths.h"

#include "framework/Handle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct SplitCase
{
    const char* description;
    std::string path;
    std::string drive;
    std::string directory;
};

class PathSplitTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(PathSplitTest, DriveAndDirectory)
{
    const SplitCase& row = GetParam();
    const DriveAndDirectory parts = SplitDriveAndDirectory(row.path.c_str(), 1252);
    EXPECT_EQ(row.drive, parts.drive) << row.description << ": <" << row.path << ">";
    EXPECT_EQ(row.directory, parts.directory) << row.description << ": <" << row.path << ">";
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathSplitTest,
    ::testing::Values(
        SplitCase{"drive with folders", "C:\\Apps\\Show\\setup.exe", "C:", "\\Apps\\Show\\"},
        SplitCase{"bare file name", "setup.exe", "", ""},
        SplitCase{"empty", "", "", ""},
        SplitCase{"trailing separator", "C:\\Apps\\Show\\", "C:", "\\Apps\\Show\\"},
        SplitCase{"forward slashes", "C:/Apps/Show/setup.exe", "C:", "/Apps/Show/"},
        SplitCase{"mixed separators", "C:\\Apps/Show\\x", "C:", "\\Apps/Show\\"},
        SplitCase{"drive only", "C:", "C:", ""},
        SplitCase{"drive-relative file", "C:setup.exe", "C:", ""},
        SplitCase{"root file", "C:\\app.exe", "C:", "\\"},
        SplitCase{"no drive", "\\Apps\\x.exe", "", "\\Apps\\"},
        SplitCase{"UNC path", "\\\\server\\share\\x.exe", "", "\\\\server\\share\\"},
        SplitCase{"quoted path", "\"C:\\Apps\\u.exe\"", "", "\"C:\\Apps\\"},
        SplitCase{"switch after the program", "C:\\Apps\\u.exe /S", "C:", "\\Apps\\u.exe /"},
        SplitCase{"colon not second", "ab:\\x", "", "ab:\\"}));

TEST(PathSplitDoubleByteTest, TrailByteThatLooksLikeABackslashIsNoSeparator)
{
    // 0x95 0x5C is one character in code page 932; its second byte is "\".
    const std::string path = "C:\\dir\\\x95\x5Cname.exe";
    const DriveAndDirectory parts = SplitDriveAndDirectory(path.c_str(), 932);
    EXPECT_EQ("C:", parts.drive);
    EXPECT_EQ("\\dir\\", parts.directory);

    const DriveAndDirectory folder = SplitDriveAndDirectory("C:\\\x95\x5C\\x.exe", 932);
    EXPECT_EQ("\\\x95\x5C\\", folder.directory);
}

TEST(PathSplitDoubleByteTest, SingleByteCodePageCountsEveryBackslash)
{
    const DriveAndDirectory parts = SplitDriveAndDirectory("C:\\dir\\\x95\x5Cname.exe", 1252);
    EXPECT_EQ("\\dir\\\x95\x5C", parts.directory);
}

TEST(PathSplitDoubleByteTest, LeadByteAtTheEndIsASingleByte)
{
    const DriveAndDirectory parts = SplitDriveAndDirectory("C:\\dir\\\x95", 932);
    EXPECT_EQ("\\dir\\", parts.directory);
}

TEST(PathSplitLongTest, DirectoryIsCutAfterItsFirst255Bytes)
{
    std::string directory = "\\";
    while (directory.size() < 300)
        directory += "abcdefghi\\";
    const DriveAndDirectory parts = SplitDriveAndDirectory(("C:" + directory + "x.exe").c_str(), 1252);
    EXPECT_EQ("C:", parts.drive);
    EXPECT_EQ(directory.substr(0, 255), parts.directory);
}

TEST(PathSplitLongTest, DirectoryIsCutAfter255CharactersNeverInsideOne)
{
    std::string utf8 = "\\";
    while (utf8.size() < 600)
        utf8 += "\u00e9";  // two bytes in UTF-8
    utf8 += "\\";
    EXPECT_EQ(utf8.substr(0, 1 + 254 * 2), SplitDriveAndDirectory((utf8 + "x").c_str(), CP_UTF8).directory);

    std::string dbcs = "\\";
    while (dbcs.size() < 600)
        dbcs += "\x95\x5C";  // one character in code page 932
    dbcs += "\\";
    EXPECT_EQ(dbcs.substr(0, 1 + 254 * 2), SplitDriveAndDirectory((dbcs + "x").c_str(), 932).directory);
}

TEST(PathSplitLongTest, DirectoryOfExactly255BytesIsKept)
{
    std::string directory = "\\" + std::string(253, 'a') + "\\";
    ASSERT_EQ(255u, directory.size());
    const DriveAndDirectory parts = SplitDriveAndDirectory(("D:" + directory + "x").c_str(), 1252);
    EXPECT_EQ(directory, parts.directory);
}

TEST(GetPathFolderTest, JoinsDriveAndDirectory)
{
    EXPECT_EQ("C:\\Apps\\Show\\", GetPathFolder("C:\\Apps\\Show\\setup.exe"));
    EXPECT_EQ("", GetPathFolder("setup.exe"));
    EXPECT_EQ("C:\\Apps\\", GetPathFolder("C:\\Apps\\"));
    EXPECT_EQ("C:/Apps/", GetPathFolder("C:/Apps/x"));
}
TEST(AnsiPathTest, PathOutsideTheCodePageBecomesItsShortForm)
{
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"kestrup-\u03a9";
    const std::wstring file = folder + L"\\Kestrup.exe";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    CFileHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    const std::string ansi = AnsiPath(file.c_str());
    EXPECT_EQ(std::string::npos, ansi.find('?')) << ansi;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(ansi.c_str())) << ansi << " names no file";
    EXPECT_EQ("C:\\Tools\\Kestrup.exe", AnsiPath(L"C:\\Tools\\Kestrup.exe")) << "ANSI paths stay as they are";
    EXPECT_EQ("C:\\\u03a9\\Kestrup.exe", AnsiPath(L"C:\\\u03a9\\Kestrup.exe", CP_UTF8))
        << "UTF-8 holds every character";

    ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(folder.c_str());
}
} // namespace

TEST(AnsiPathTest, PathOfMaxPathCharactersOrMoreBecomesItsShortForm)
{
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = temp;
    std::vector<std::wstring> folders;
    while (folder.size() < MAX_PATH)
    {
        folder += L"kestrup long folder name\\";
        ::CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr);
        folders.push_back(folder);
    }
    const std::wstring file = folder + L"Kestrup.exe";
    CFileHandle(::CreateFileW((L"\\\\?\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    const std::string ansi = AnsiPath(file.c_str());
    EXPECT_LT(ansi.size(), static_cast<size_t>(MAX_PATH)) << ansi;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(ansi.c_str())) << ansi << " names no file";

    ::DeleteFileW((L"\\\\?\\" + file).c_str());
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        ::RemoveDirectoryW((L"\\\\?\\" + *it).c_str());
}
