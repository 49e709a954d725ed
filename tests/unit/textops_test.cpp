#include "platform/pubfunction.h"
#include "platform/textops.h"

#include <gtest/gtest.h>

TEST(TimeText, RendersHoursMinutesSeconds)
{
    EXPECT_EQ(TimeText(3909), "01:05:09");
    EXPECT_EQ(TimeText(0), "00:00:00");
    EXPECT_EQ(TimeText(9), "00:00:09");
    EXPECT_EQ(TimeText(10), "00:00:10");
    EXPECT_EQ(TimeText(3599), "00:59:59");
    EXPECT_EQ(TimeText(-5), "00:00:00");
    EXPECT_EQ(TimeText(86399), "23:59:59");
    EXPECT_EQ(TimeText(86400), "24:00:00");
    EXPECT_EQ(TimeText(86401), "00:00:00");
    EXPECT_EQ(TimeText(INT_MAX), "00:00:00");
    EXPECT_EQ(TimeText(INT_MIN), "00:00:00");
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
    EXPECT_EQ(LeadingInteger("320"), 320);
    EXPECT_EQ(LeadingInteger("240abc"), 240);
    EXPECT_EQ(LeadingInteger("2 Channels"), 2);
    EXPECT_EQ(LeadingInteger(""), 0);
    EXPECT_EQ(LeadingInteger("x240"), 0);
    EXPECT_EQ(LeadingInteger(" 5"), 0);
    EXPECT_EQ(LeadingInteger("-3"), -3);
    EXPECT_EQ(LeadingInteger("-"), 0);
    EXPECT_EQ(LeadingInteger("99999999999"), INT_MAX);

    EXPECT_DOUBLE_EQ(LeadingDecimal("22.05"), 22.05);
    EXPECT_DOUBLE_EQ(LeadingDecimal("44.1 khps"), 44.1);
    EXPECT_DOUBLE_EQ(LeadingDecimal("8"), 8.0);
    EXPECT_DOUBLE_EQ(LeadingDecimal(".5"), 0.5);
    EXPECT_DOUBLE_EQ(LeadingDecimal(""), 0.0);
    EXPECT_DOUBLE_EQ(LeadingDecimal("abc"), 0.0);
    EXPECT_DOUBLE_EQ(LeadingDecimal("nan"), 0.0);
    EXPECT_DOUBLE_EQ(LeadingDecimal("1e3"), 1.0);
}
