#include "general/General.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace general;

TEST(Round, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-3.5), -4);
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(-0.5), 0);
    EXPECT_EQ(Round(2.4999999999999996), 2);
    EXPECT_EQ(Round(2.5000000000000004), 3);
    EXPECT_EQ(Round(-1.2), -1);
    EXPECT_EQ(Round(1e300), 1e300);
    EXPECT_EQ(Round(4503599627370495.5), 4503599627370496.0);  // 2^52 - 0.5
    EXPECT_EQ(Round(-4503599627370494.5), -4503599627370494.0);
    EXPECT_TRUE(std::isnan(Round(std::nan(""))));
}

TEST(Round, ToDecimalsAsTheNumberReads)
{
    EXPECT_EQ(Round(3.14159, 2), 3.14);
    EXPECT_EQ(Round(0.125, 2), 0.12);
    EXPECT_EQ(Round(0.375, 2), 0.38);
    EXPECT_EQ(Round(2.675, 2), 2.68);  // the double lies just below 2.675
    EXPECT_EQ(Round(-2.675, 2), -2.68);
    EXPECT_EQ(Round(9.995, 2), 10);
    EXPECT_EQ(Round(1250, -2), 1200);
    EXPECT_EQ(Round(1350, -2), 1400);
    EXPECT_EQ(Round(0.004, 2), 0);
    EXPECT_EQ(Round(0.1 + 0.2, 20), 0.1 + 0.2);  // nothing to round: the value itself
    EXPECT_EQ(Round(2.5, 0), 2);
}

TEST(Int, IsTheFloor)
{
    EXPECT_EQ(Int(-0.5), -1);
    EXPECT_EQ(Int(2.999), 2);
    EXPECT_EQ(Int(-3), -3);
}

TEST(CInt, RoundsAndFailsOutsideSixteenBits)
{
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_THROW(CInt(32767.5), OverflowError);  // rounds to 32768
    EXPECT_EQ(CInt(-32768.5), -32768);           // rounds to the even -32768
    EXPECT_THROW(CInt(-32768.6), OverflowError);
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(-3.5), -4);
    EXPECT_THROW(CInt(std::nan("")), OverflowError);
    EXPECT_THROW(CInt(std::numeric_limits<double>::infinity()), OverflowError);
    // The form that does not throw: nothing where CInt overflows.
    EXPECT_EQ(ToInt16(-32768.5), std::int16_t(-32768));
    EXPECT_FALSE(ToInt16(32767.5).has_value());
}

TEST(CLng, RoundsAndFailsOutsideThirtyTwoBits)
{
    EXPECT_EQ(CLng(2147483647.4), 2147483647);
    EXPECT_THROW(CLng(2147483647.5), OverflowError);
    EXPECT_EQ(CLng(-2147483648.5), -2147483647 - 1);
    EXPECT_THROW(CLng(-2147483649.0), OverflowError);
    EXPECT_EQ(CLng(100000.5), 100000);
    EXPECT_THROW(CLng(std::nan("")), OverflowError);
    EXPECT_THROW(CLng(1e300), OverflowError);
    EXPECT_EQ(ToInt32(2147483647.4), 2147483647);
    EXPECT_FALSE(ToInt32(std::nan("")).has_value());
}
