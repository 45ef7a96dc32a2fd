#include "app/RunSwitch.h"

#include <gtest/gtest.h>

#include <climits>

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
} // namespace
