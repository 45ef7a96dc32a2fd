#include "app/AutostartCommandLineInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace
{
using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs ReadAllPairs(const std::string& commandLine)
{
    CAutostartCommandLineInfo parser(commandLine.c_str());
    Pairs pairs;
    std::string switchName = "stale";
    std::string value = "stale";
    for (bool read = parser.GetFirstPair(switchName, value); read;
         read = parser.GetNextPair(switchName, value))
        pairs.emplace_back(switchName, value);
    EXPECT_EQ("", switchName) << "a read that finds no pair empties the switch name";
    EXPECT_EQ("", value) << "a read that finds no pair empties the value";
    return pairs;
}

std::string Printable(const Pairs& pairs)
{
    std::string text;
    for (const auto& pair : pairs)
        text += "[" + pair.first + " = " + pair.second + "] ";
    return text;
}

struct CommandLineCase
{
    const char* description;
    std::string commandLine;
    Pairs expected;
};

class CommandLinePairsTest : public ::testing::TestWithParam<CommandLineCase>
{
};

TEST_P(CommandLinePairsTest, YieldsThePairsInOrder)
{
    const CommandLineCase& row = GetParam();
    const Pairs actual = ReadAllPairs(row.commandLine);
    EXPECT_EQ(row.expected, actual) << row.description << "\ncommand line: <" << row.commandLine
                                    << ">\nexpected: " << Printable(row.expected)
                                    << "\nactual:   " << Printable(actual);
}

const std::string kTool = "\"C:\\Tools\\Kestrup.exe\"";

INSTANTIATE_TEST_SUITE_P(
    Grammar, CommandLinePairsTest,
    ::testing::Values(
        CommandLineCase{"run with slot", kTool + " /run 2", {{"run", "2"}}},
        CommandLineCase{"no arguments", kTool, {}},
        CommandLineCase{"dash prefix, upper case", kTool + " -RUN 5", {{"RUN", "5"}}},
        CommandLineCase{"two runs", kTool + " /run 3 /run 4", {{"run", "3"}, {"run", "4"}}},
        CommandLineCase{"run without value", kTool + " /run", {{"run", ""}}},
        CommandLineCase{"settings with slot, dash prefix", kTool + " -Settings 2", {{"Settings", "2"}}},
        CommandLineCase{"negative number is a switch", kTool + " /run -3", {{"run", ""}, {"3", ""}}},
        CommandLineCase{"quoted negative number", kTool + " /run \"-3\"", {{"run", "-3"}}},
        CommandLineCase{"quoted number", kTool + " /run \"7\"", {{"run", "7"}}},
        CommandLineCase{"quoted switch name", kTool + " /\"run\" 8", {{"run", "8"}}},
        CommandLineCase{"quoted group of two tokens", kTool + " /run \"a b\"", {{"run", "a b"}}},
        CommandLineCase{"two double quotes", kTool + " /run \"\"", {{"run", ""}}},
        CommandLineCase{"lone quote is a complete empty value", kTool + " /run \" 3\"",
                        {{"run", ""}, {"", "3\""}}},
        CommandLineCase{"lone slash", kTool + " / run 2", {{"", "run"}, {"", "2"}}},
        CommandLineCase{"stray value first", kTool + " x /run 2", {{"", "x"}, {"run", "2"}}},
        CommandLineCase{"unquoted program path with a blank",
                        "C:\\Program Files\\Tool\\tool.exe /run 2",
                        {{"", "Files\\Tool\\tool.exe"}, {"run", "2"}}},
        CommandLineCase{"tab does not separate", "C:\\Tools\\tool.exe\t/run 2", {{"", "2"}}},
        CommandLineCase{"no program path: first pair is discarded", "/run 5 /run 6",
                        {{"run", "6"}}},
        CommandLineCase{"empty command line", "", {}},
        CommandLineCase{"only white space", " \t\r\n ", {}},
        CommandLineCase{"quoted program path with a run of blanks",
                        "\"C:\\My  Tools\\tool.exe\" /run 2", {{"run", "2"}}},
        CommandLineCase{"surrounding white space", " \t" + kTool + " /run 2 \r\n",
                        {{"run", "2"}}},
        CommandLineCase{"runs of blanks between tokens", kTool + "   /run    9  ",
                        {{"run", "9"}}},
        CommandLineCase{"quote inside a group stays", kTool + " /run \"a\"b c\"",
                        {{"run", "a\"b c"}}},
        CommandLineCase{"quoted value without switch", kTool + " \"x y\" /run 1",
                        {{"", "x y"}, {"run", "1"}}},
        CommandLineCase{"switch followed by switch", kTool + " /run /x 4",
                        {{"run", ""}, {"x", "4"}}},
        CommandLineCase{"unterminated quote takes the rest", kTool + " /run \"4 /run 5",
                        {{"run", "4 /run 5"}}},
        CommandLineCase{"unterminated quote at the very end", kTool + " /run \"4",
                        {{"run", "4"}}},
        CommandLineCase{"unterminated quoted program path", "\"C:\\Tools\\tool.exe /run 2", {}},
        CommandLineCase{"only quotes", "\" \" \"", {{"", ""}, {"", ""}}},
        CommandLineCase{"only prefixes", "/ - / -", {{"", ""}, {"", ""}, {"", ""}}},
        CommandLineCase{"run written as the autostart entry writes it",
                        "\"C:\\Program Files\\vaxo\\Kestrup.exe\" /run 12", {{"run", "12"}}}));

TEST(CommandLineParserTest, TheCommandLineIsTrimmedOfSurroundingWhiteSpace)
{
    CAutostartCommandLineInfo parser(" \t\v\f\r\n\"a b\" /run 1 \n\t");
    EXPECT_EQ("\"a b\" /run 1", parser.CommandLine());
}

TEST(CommandLineParserTest, ReadsNothingBeforeGetFirstPair)
{
    CAutostartCommandLineInfo parser("tool /run 1");
    std::string switchName = "x";
    std::string value = "y";
    EXPECT_FALSE(parser.GetNextPair(switchName, value));
    EXPECT_EQ("", switchName);
    EXPECT_EQ("", value);
}

TEST(CommandLineParserTest, GetFirstPairStartsAgainFromTheWholeCommandLine)
{
    CAutostartCommandLineInfo parser("tool /run 1 /run 2");
    std::string switchName;
    std::string value;
    ASSERT_TRUE(parser.GetFirstPair(switchName, value));
    ASSERT_TRUE(parser.GetNextPair(switchName, value));
    EXPECT_EQ("2", value);
    ASSERT_TRUE(parser.GetFirstPair(switchName, value));
    EXPECT_EQ("run", switchName);
    EXPECT_EQ("1", value);
}

TEST(CommandLineParserTest, UsedUpParserKeepsReportingNoPair)
{
    CAutostartCommandLineInfo parser("tool /run \"1");
    std::string switchName;
    std::string value;
    ASSERT_TRUE(parser.GetFirstPair(switchName, value));
    EXPECT_FALSE(parser.GetNextPair(switchName, value));
    EXPECT_FALSE(parser.GetNextPair(switchName, value));
}

TEST(CommandLineParserTest, VeryLongCommandLineWithHighBytesAndControlCharacters)
{
    std::string commandLine = kTool + " /run 3 ";
    for (int i = 0; i < 4096; ++i)
        commandLine += std::string("\x01\x7f\xff\xe9\t\"x ", 8);
    const Pairs pairs = ReadAllPairs(commandLine);
    ASSERT_FALSE(pairs.empty());
    EXPECT_EQ("run", pairs.front().first);
    EXPECT_EQ("3", pairs.front().second);
}
} // namespace
