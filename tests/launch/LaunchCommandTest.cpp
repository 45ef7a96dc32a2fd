#include "launch/LaunchCommand.h"

#include <gtest/gtest.h>

namespace
{
struct LaunchCase
{
    const char* description;
    std::string appPath;
    std::string parameter;
    int kiosk;
    std::string showPath;
    std::string commandLine;
    std::string folder;
};

class LaunchCommandTest : public ::testing::TestWithParam<LaunchCase>
{
};

TEST_P(LaunchCommandTest, CommandLineAndFolder)
{
    const LaunchCase& row = GetParam();
    const LaunchCommand command =
        BuildLaunchCommand(row.appPath, row.parameter, row.kiosk, row.showPath, 1252);
    EXPECT_EQ(row.commandLine, command.commandLine) << row.description;
    EXPECT_EQ(row.folder, command.folder) << row.description;
}

const std::string kPlayer = "C:\\Tools\\Show\\player.exe";
const std::string kQuotedPlayer = "\"" + kPlayer + "\"";

INSTANTIATE_TEST_SUITE_P(
    Examples, LaunchCommandTest,
    ::testing::Values(
        LaunchCase{"program alone", kPlayer, "", 0, "", kQuotedPlayer, "C:\\Tools\\Show"},
        LaunchCase{"everything", kPlayer, "-x 2", 1, "D:\\Shows\\gala.dat",
                   kQuotedPlayer + " -x 2 /kiosk \"D:\\Shows\\gala.dat\"", "C:\\Tools\\Show"},
        LaunchCase{"show file only", kPlayer, "", 0, "D:\\Shows\\gala.dat",
                   kQuotedPlayer + " \"D:\\Shows\\gala.dat\"", "C:\\Tools\\Show"},
        LaunchCase{"root of a drive", "C:\\app.exe", "", 1, "", "\"C:\\app.exe\" /kiosk", "C:\\"},
        LaunchCase{"no folder", "app.exe", "", 0, "", "\"app.exe\"", ""},
        LaunchCase{"parameter of several words, leading blanks kept", kPlayer, "  -a b  c", 0, "",
                   kQuotedPlayer + "   -a b  c", "C:\\Tools\\Show"},
        LaunchCase{"kiosk 2", kPlayer, "", 2, "", kQuotedPlayer + " /kiosk", "C:\\Tools\\Show"},
        LaunchCase{"negative kiosk", kPlayer, "", -1, "", kQuotedPlayer + " /kiosk",
                   "C:\\Tools\\Show"},
        LaunchCase{"kiosk after the parameter, before the show file", kPlayer, "p", 1, "s",
                   kQuotedPlayer + " p /kiosk \"s\"", "C:\\Tools\\Show"},
        LaunchCase{"paths stored in quotes keep one pair", kQuotedPlayer, "", 0, "\"D:\\s.shw\"",
                   kQuotedPlayer + " \"D:\\s.shw\"", "C:\\Tools\\Show"},
        LaunchCase{"quotes inside values are copied", kPlayer, "\"a b\"", 0, "x\"y",
                   kQuotedPlayer + " \"a b\" \"x\"y\"", "C:\\Tools\\Show"},
        LaunchCase{"trailing run of separators and quotes", "C:\\a\\\"\\\\b.exe", "", 0, "",
                   "\"C:\\a\\\"\\\\b.exe\"", "C:\\a"},
        LaunchCase{"forward slash is not trimmed", "C:/Tools/x.exe", "", 0, "",
                   "\"C:/Tools/x.exe\"", "C:/Tools/"},
        LaunchCase{"folder with blanks", "C:\\Program Files\\My App\\a.exe", "", 0, "",
                   "\"C:\\Program Files\\My App\\a.exe\"", "C:\\Program Files\\My App"}));

TEST(TrimFolderTest, DoubleByteCharacterEndingInABackslashByteIsKept)
{
    // 0x95 0x5C is one character in code page 932.
    EXPECT_EQ("C:\\\x95\x5C", TrimFolder("C:\\\x95\x5C\\", 932));
    EXPECT_EQ("C:\\\x95\x5C", TrimFolder("C:\\\x95\x5C", 932));
    EXPECT_EQ("C:\\\x95", TrimFolder("C:\\\x95\x5C", 1252));
}

TEST(TrimFolderTest, OnlySeparatorsAndQuotesLeaveNothing)
{
    EXPECT_EQ("", TrimFolder("\\\"\\\\", 1252));
    EXPECT_EQ("", TrimFolder("", 1252));
}
} // namespace
