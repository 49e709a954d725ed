#include "platform/pubfunction.h"
#include "platform/textops.h"

#include <gtest/gtest.h>

TEST(TimeText, RendersHoursMinutesSeconds)
{
    const std::pair<int, const char *> timeTextCases[] = {
        {3909, "01:05:09"},  {0, "00:00:00"},       {9, "00:00:09"},      {10, "00:00:10"},
        {3599, "00:59:59"},  {-5, "00:00:00"},      {86399, "23:59:59"},  {86400, "24:00:00"},
        {86401, "00:00:00"}, {INT_MAX, "00:00:00"}, {INT_MIN, "00:00:00"}};
    for (auto [seconds, text] : timeTextCases)
        EXPECT_EQ(TimeText(seconds), text) << seconds;
    // The engine is given the real time, past a day too.
    const std::pair<int, const char *> engineCases[] = {
        {86400, "24:00:00"}, {90001, "25:00:01"}, {360000, "100:00:00"}, {-5, "00:00:00"}};
    for (auto [seconds, text] : engineCases)
        EXPECT_EQ(EngineTimeText(seconds), text) << seconds;
}

TEST(TextOps, PosCountsFromOneAndIsCaseSensitive)
{
    EXPECT_EQ(Pos("Video: ", "A : Video: 320x240"), 5);
    EXPECT_EQ(Pos("video", "A : Video: 320x240"), 0);
    EXPECT_EQ(Pos("x", "320x240"), 4);
    EXPECT_EQ(Pos("a", ""), 0);
    EXPECT_EQ(Pos("kbps,", "300 kbps, 25 kbps,"), 5);
}

TEST(TextOps, SubFollowsItsEdgeRules)
{
    EXPECT_EQ(Sub("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Sub("abcdef", 5, 100), "ef");
    EXPECT_EQ(Sub("abcdef", 7, 1), "");
    EXPECT_EQ(Sub("abcdef", 6, 1), "f");
    EXPECT_EQ(Sub("abcdef", 2, 0), "");
    EXPECT_EQ(Sub("abcdef", 2, -4), "");
    EXPECT_EQ(Sub("abcdef", 0, 2), "ab"); // i below 1 is 1; n is not reduced
    EXPECT_EQ(Sub("abcdef", -3, 2), "ab");
    EXPECT_EQ(Sub("", 1, 1), "");
}

TEST(TextOps, TrimDropsControlCharactersToo)
{
    EXPECT_EQ(Trim(QStringLiteral(" \t\r\n a b \x01\x1f ")), "a b");
    EXPECT_EQ(Trim(QStringLiteral("\x7f")), QStringLiteral("\x7f")); // 127 is above 32
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(LowerCase("320X240 RV40 Ünïcode"), "320x240 rv40 ünïcode");
}

TEST(TextOps, LeadingNumbers)
{
    const std::pair<const char *, int> leadingIntegerCases[] = {
        {"320", 320}, {"240abc", 240}, {"2 Channels", 2},       {"", 0}, {"x240", 0}, {" 5", 0},
        {"-3", -3},   {"-", 0},        {"99999999999", INT_MAX}};
    for (auto [text, number] : leadingIntegerCases)
        EXPECT_EQ(LeadingInteger(text), number) << text;

    const std::pair<const char *, double> leadingDecimalCases[] = {
        {"22.05", 22.05}, {"44.1 khps", 44.1}, {"8", 8.0},   {".5", 0.5},
        {"", 0.0},        {"abc", 0.0},        {"nan", 0.0}, {"1e3", 1.0}};
    for (auto [text, number] : leadingDecimalCases)
        EXPECT_DOUBLE_EQ(LeadingDecimal(text), number) << text;
}
