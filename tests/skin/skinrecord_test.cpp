#include "skin/skinrecord.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinRecord, FieldsNeedTheCommaThatEndsThem)
{
    const QString r = "btn.bmp,10,20";
    EXPECT_EQ(SkinField(r, 1), "btn.bmp");
    EXPECT_EQ(SkinField(r, 2), "10");
    EXPECT_EQ(SkinField(r, 3), ""); // no comma after 20
    EXPECT_EQ(SkinNumber(r, 3), 0);
    EXPECT_EQ(SkinField(r, 4), "");
    EXPECT_EQ(SkinField(r, 0), "");
    EXPECT_EQ(SkinField("a,,c,", 2), "");
    EXPECT_EQ(SkinField("a,,c,", 3), "c");
}

TEST(SkinRecord, BlanksAroundFieldsDoNotCount)
{
    const QString r = "btn.bmp , 10 ,\t7\t,";
    EXPECT_EQ(SkinField(r, 1), "btn.bmp");
    EXPECT_EQ(SkinField(r, 2), "10");
    EXPECT_EQ(SkinNumber(r, 3), 7);
    EXPECT_EQ(SkinField(" sub dir/a b.bmp ,", 1), "sub dir/a b.bmp");
}

TEST(SkinRecord, NumbersReadLikeAtol)
{
    auto num = [](const char *field) { return SkinNumber(QString(field) + ",", 1); };
    EXPECT_EQ(num("42"), 42);
    EXPECT_EQ(num("-280"), -280);
    EXPECT_EQ(num("+7"), 7);
    EXPECT_EQ(num("12px"), 12);
    EXPECT_EQ(num("3.9"), 3);
    EXPECT_EQ(num("px12"), 0);
    EXPECT_EQ(num("-"), 0);
    EXPECT_EQ(num(""), 0);
    EXPECT_EQ(num("0x10"), 0);
    EXPECT_EQ(num("99999999999999999999"), 2147483647);
    EXPECT_EQ(num("-99999999999999999999"), -2147483647 - 1);
    EXPECT_TRUE(SkinFlag("x,2,", 2));
    EXPECT_TRUE(SkinFlag("x,-1,", 2));
    EXPECT_FALSE(SkinFlag("x,yes,", 2));
    EXPECT_FALSE(SkinFlag("x,0,", 2));
}

TEST(SkinRecord, StaticInAnyCaseButOnlyWithItsComma)
{
    EXPECT_TRUE(SkinFieldIsStatic("a.bmp,STATIC,", 2));
    EXPECT_TRUE(SkinFieldIsStatic("a.bmp, Static ,", 2));
    EXPECT_FALSE(SkinFieldIsStatic("a.bmp,static", 2));
    EXPECT_FALSE(SkinFieldIsStatic("a.bmp,statics,", 2));
}

} // namespace
