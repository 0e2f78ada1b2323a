#include "general/General.h"

#include <gtest/gtest.h>

#include <cmath>

using general::Val;

TEST(Val, ReadsTheLeadingNumber)
{
    EXPECT_EQ(Val(u"12abc"), 12);
    EXPECT_EQ(Val(u"  -3.5e2x"), -350);
    EXPECT_EQ(Val(u".5"), 0.5);
    EXPECT_EQ(Val(u"-.25"), -0.25);
    EXPECT_EQ(Val(u"+7"), 7);
    EXPECT_EQ(Val(u"1E-05"), 1e-5);
    EXPECT_EQ(Val(u"2.5D3"), 2500);
    EXPECT_EQ(Val(u"1.2.3"), 1.2);
    EXPECT_EQ(Val(u"1,5"), 1);  // "," is not a decimal point
    EXPECT_EQ(Val(u"440 (Hz)"), 440);
}

TEST(Val, BlanksAreSkippedLeadingAndInside)
{
    EXPECT_EQ(Val(u"\t\n 42"), 42);
    EXPECT_EQ(Val(u"1 000"), 1000);
    EXPECT_EQ(Val(u" 1 2 . 5"), 12.5);
    EXPECT_EQ(Val(u"- 3"), -3);
}

TEST(Val, ExponentCountsOnlyWithDigits)
{
    EXPECT_EQ(Val(u"1E"), 1);
    EXPECT_EQ(Val(u"1E+"), 1);
    EXPECT_EQ(Val(u"3e-x"), 3);
    EXPECT_EQ(Val(u"3e+2"), 300);
}

TEST(Val, NonNumericTextReadsZero)
{
    EXPECT_EQ(Val(u""), 0);
    EXPECT_EQ(Val(u"   "), 0);
    EXPECT_EQ(Val(u"abc"), 0);
    EXPECT_EQ(Val(u"."), 0);
    EXPECT_EQ(Val(u"-"), 0);
    EXPECT_EQ(Val(u"E5"), 0);
    EXPECT_EQ(Val(u"&"), 0);
    EXPECT_EQ(Val(u"&HZ"), 0);
}

TEST(Val, HexAndOctalPrefixes)
{
    EXPECT_EQ(Val(u"&HFF"), 255);
    EXPECT_EQ(Val(u"&h00C00000"), 0xC00000);
    EXPECT_EQ(Val(u"&O17"), 15);
    EXPECT_EQ(Val(u"&O19"), 1);  // 9 is no octal digit
}

TEST(Val, OutOfRangeIsInfiniteOrZeroNotAnError)
{
    EXPECT_EQ(Val(u"1e999"), HUGE_VAL);
    EXPECT_EQ(Val(u"-1e999"), -HUGE_VAL);
    EXPECT_EQ(Val(QString(400, u'9')), HUGE_VAL);
    EXPECT_EQ(Val(u"1e-999"), 0);
    EXPECT_EQ(Val(u"0.0001e-400"), 0);
    EXPECT_EQ(Val(u"1e99999999999999999999"), HUGE_VAL);
}
