#include "general/General.h"

#include <gtest/gtest.h>

using general::Format;

TEST(Format, AmplitudeReadout)
{
    EXPECT_EQ(Format(0, u"##0.0####"), "0.0");
    EXPECT_EQ(Format(3.14159265, u"##0.0####"), "3.14159");
    EXPECT_EQ(Format(-12.5, u"##0.0####"), "-12.5");
    EXPECT_EQ(Format(0.000004, u"##0.0####"), "0.0");
    EXPECT_EQ(Format(0.000005, u"##0.0####"), "0.00001");  // half away from zero
    EXPECT_EQ(Format(12345.6, u"##0.0####"), "12345.6");   // more digits than places all show
}

TEST(Format, PlayingTimeHasNoDigitBeforeThePointBelowOneSecond)
{
    EXPECT_EQ(Format(0.5, u"####.000"), ".500");
    EXPECT_EQ(Format(0, u"####.000"), ".000");
    EXPECT_EQ(Format(12.3456, u"####.000"), "12.346");
    EXPECT_EQ(Format(0.9996, u"####.000"), "1.000");
}

TEST(Format, ThousandsGrouping)
{
    EXPECT_EQ(Format(1234567, u"###,###,###"), "1,234,567");
    EXPECT_EQ(Format(0, u"###,###,###"), "");
    EXPECT_EQ(Format(999, u"###,###,###"), "999");
    EXPECT_EQ(Format(12345678901.0, u"##,###,###,###"), "12,345,678,901");
    EXPECT_EQ(Format(1234567890123.0, u"###,###,###"), "1,234,567,890,123");
    EXPECT_EQ(Format(22050, u"###,##0"), "22,050");
    EXPECT_EQ(Format(0, u"###,##0"), "0");
    EXPECT_EQ(Format(99.5, u"###,##0"), "100");
    EXPECT_EQ(Format(-1234.5, u"###,##0"), "-1,235");
    EXPECT_EQ(Format(1234.565, u"##,##0.00"), "1,234.57");
    EXPECT_EQ(Format(0.004, u"#,##0.00"), "0.00");
    EXPECT_EQ(Format(1e20, u"#,##0"), "100,000,000,000,000,000,000");
}

TEST(Format, DecimalsRoundHalfAwayFromZero)
{
    EXPECT_EQ(Format(2.5, u"0"), "3");
    EXPECT_EQ(Format(-2.5, u"0"), "-3");
    EXPECT_EQ(Format(0.125, u"##0.00"), "0.13");
    EXPECT_EQ(Format(1.005, u"##0.00"), "1.01");  // as the number reads, not its double
    EXPECT_EQ(Format(99.999, u"##0.00"), "100.00");
    EXPECT_EQ(Format(-0.004, u"##0.00"), "0.00");  // no "-" on a zero
}

TEST(Format, HashPlacesAndLiterals)
{
    EXPECT_EQ(Format(0.5, u"##.##"), ".5");
    EXPECT_EQ(Format(440.25, u" ##.## "), " 440.25 ");
    EXPECT_EQ(Format(440, u" ##.## "), " 440. ");
    EXPECT_EQ(Format(-3.456, u" ##.## "), "- 3.46 ");
    EXPECT_EQ(Format(5, u"000"), "005");
    EXPECT_EQ(Format(5, u"0##"), "005");
    EXPECT_EQ(Format(12.5, u".00"), "12.50");
    EXPECT_EQ(Format(7, u"#\\#\"kHz\""), "7#kHz");
    EXPECT_EQ(Format(1.5, u"0.0 s, 1.0"), "1.5 s, 1.0");
    EXPECT_EQ(Format(1234, u",##0"), ",1234");  // a comma without a place before it is literal
    EXPECT_EQ(Format(0.5, u""), "0.5");
}
