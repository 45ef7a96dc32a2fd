#include "app/AutostartCommandLineInfo.h"
#include "app/Relay.h"
#include "app/RunSwitch.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace
{
TEST(RunSwitchTest, NameComparesWithoutRegardToCase)
{
    for (const char* name : {"run", "RUN", "Run", "rUn"})
        EXPECT_TRUE(IsRunSwitch(name)) << name;
    for (const char* name : {"", "ru", "runs", "run3", "start", " run", "r\xfan"})
        EXPECT_FALSE(IsRunSwitch(name)) << name;
}

struct SlotCase
{
    const char* value;
    int expected;
};

class SlotNumberTest : public ::testing::TestWithParam<SlotCase>
{
};

TEST_P(SlotNumberTest, ReadsLikeAtoi)
{
    EXPECT_EQ(GetParam().expected, ReadSlotNumber(GetParam().value))
        << "value <" << GetParam().value << ">";
}

INSTANTIATE_TEST_SUITE_P(
    Values, SlotNumberTest,
    ::testing::Values(SlotCase{"0", 0}, SlotCase{"7", 7}, SlotCase{"12", 12},
                      SlotCase{"-3", -3}, SlotCase{"+4", 4}, SlotCase{" \t5", 5},
                      SlotCase{"abc", 0}, SlotCase{"a b", 0}, SlotCase{"", 0},
                      SlotCase{"3x", 3}, SlotCase{"--3", 0}, SlotCase{"- 3", 0},
                      SlotCase{"007", 7}, SlotCase{"2147483647", INT_MAX},
                      SlotCase{"99999999999", INT_MAX}, SlotCase{"-2147483648", INT_MIN},
                      SlotCase{"-99999999999", INT_MIN}));
// The relay's decisions, as no test here runs as SYSTEM.
TEST(RelayTest, OnlySystemOrSessionZeroIsRelayed)
{
    EXPECT_TRUE(NeedsRelay(true, 1)) << "SYSTEM in a user's session";
    EXPECT_TRUE(NeedsRelay(false, 0)) << "session 0";
    EXPECT_FALSE(NeedsRelay(false, 1)) << "a user in a session";
}

TEST(RelayTest, TheCommandPassedOnReadsBackAsAsked)
{
    for (const char* value : {"5", "-3", ""})
    {
        CAutostartCommandLineInfo parser(RelayedCommandLine("C:\\Program Files\\vaxo\\Kestrup\\Kestrup.exe", "Restart",
                                                            value, "powershell.exe, NT AUTHORITY\\SYSTEM")
                                             .c_str());
        std::string via[2], asked[2];
        parser.GetFirstPair(via[0], via[1]);
        parser.GetNextPair(asked[0], asked[1]);
        EXPECT_EQ("via/powershell.exe, NT AUTHORITY\\SYSTEM", via[0] + "/" + via[1]) << value;
        EXPECT_EQ(std::string("Restart/") + value, asked[0] + "/" + asked[1]) << value;
    }
}

struct RelayCase
{
    const char* description;
    RelayRun run;
    bool keeps;
    int expected;
    const char* line;
};

class RelayAnswerTest : public ::testing::TestWithParam<RelayCase>
{
};

TEST_P(RelayAnswerTest, PassesTheRunsAnswerOn)
{
    std::string line;
    EXPECT_EQ(GetParam().expected, RelayAnswer(GetParam().run, GetParam().keeps, line)) << GetParam().description;
    // The system's words for an error are the system's own.
    EXPECT_EQ(GetParam().line, line.substr(0, std::strlen(GetParam().line))) << GetParam().description;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RelayAnswerTest,
    ::testing::Values(
        RelayCase{"nobody at the console", {}, false, 2, "nobody is signed in at the console\r\n"},
        RelayCase{"the run could not start", {true, ERROR_ACCESS_DENIED, false, 0, ""}, false, 2,
                  "could not run in the console user's session: "},
        RelayCase{"its answer and line", {true, ERROR_SUCCESS, true, 1, "slot 0: counting down\r\n"}, false, 1,
                  "slot 0: counting down\r\n"},
        RelayCase{"a /run that keeps its slot", {true, ERROR_SUCCESS, false, 0, ""}, true, 0,
                  "running in the console user's session\r\n"},
        RelayCase{"no answer in time", {true, ERROR_SUCCESS, false, 0, ""}, false, 1,
                  "no answer from the console user's session\r\n"}));
} // namespace
