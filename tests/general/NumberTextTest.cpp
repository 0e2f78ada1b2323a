#include "general/General.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using general::NumText;

TEST(NumText, PlainDecimalsWithoutLeadingBlankOrSeparators)
{
    EXPECT_EQ(NumText(0.5), "0.5");
    EXPECT_EQ(NumText(-0.5), "-0.5");
    EXPECT_EQ(NumText(0), "0");
    EXPECT_EQ(NumText(-0.0), "0");
    EXPECT_EQ(NumText(440), "440");
    EXPECT_EQ(NumText(1234567.25), "1234567.25");
    EXPECT_EQ(NumText(-100000), "-100000");
    EXPECT_EQ(NumText(0.0001), "0.0001");
    EXPECT_EQ(NumText(0.00012), "0.00012");
    EXPECT_EQ(NumText(123456789012345.0), "123456789012345");
}

TEST(NumText, RoundsToFifteenSignificantDigits)
{
    EXPECT_EQ(NumText(0.1 + 0.2), "0.3");
    EXPECT_EQ(NumText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(NumText(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(NumText(-2.0 / 3 * 1000), "-666.666666666667");
    EXPECT_EQ(NumText(1234567.1234567891), "1234567.12345679");
}

TEST(NumText, ExponentFormBelowTenThousandthAndFromE15)
{
    EXPECT_EQ(NumText(0.00001), "1E-05");
    EXPECT_EQ(NumText(1.5e-7), "1.5E-07");
    EXPECT_EQ(NumText(-3.25e-5), "-3.25E-05");
    EXPECT_EQ(NumText(1e15), "1E+15");
    EXPECT_EQ(NumText(-2.5e20), "-2.5E+20");
    EXPECT_EQ(NumText(1e100), "1E+100");
    EXPECT_EQ(NumText(1.5e-300), "1.5E-300");
    // The rounding to 15 digits decides the form: just below 1E+15 it reads as 1E+15.
    EXPECT_EQ(NumText(999999999999999.9), "1E+15");
    EXPECT_EQ(NumText(999999999999999.0), "999999999999999");
}

TEST(NumText, FewerDigitsAndValuesThatAreNotNumbers)
{
    EXPECT_EQ(NumText(1.234567, 6), "1.23457");
    EXPECT_EQ(NumText(0.1f, 7), "0.1");  // a float's 0.1 is 0.100000001490116...
    EXPECT_EQ(NumText(std::nan("")), "NaN");
    EXPECT_EQ(NumText(-std::numeric_limits<double>::infinity()), "-Inf");
}

TEST(NumText, ReadsBackThroughVal)
{
    // Values of at most 15 digits come back exactly, others within the 15th digit.
    for (double v : {0.5, -1e-5, 123.456, 2.5e20, -987654.321, 1.5e-300})
        EXPECT_EQ(general::Val(NumText(v)), v) << v;
    for (double v : {1.0 / 7, -2e5 / 3, 5e-324, 1.7976931348623e308})
        EXPECT_NEAR(general::Val(NumText(v)) / v, 1.0, 5e-15) << v;
}
