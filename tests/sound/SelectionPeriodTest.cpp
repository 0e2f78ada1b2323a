// Period and frequency from the typed number of cycles and the displayed interval.
#include "sound/SelectionPeriod.h"

#include <gtest/gtest.h>

namespace {

TEST(SelectionPeriodTest, StartsWithTheBareCaptions)
{
    SelectionPeriod p;
    EXPECT_EQ(p.periodCaption(), "Period T =");
    EXPECT_EQ(p.frequencyCaption(), "Freq. f = ");
    EXPECT_EQ(p.periodSeconds(), "");
}

TEST(SelectionPeriodTest, PeriodInSecondsAndInMilliseconds)
{
    SelectionPeriod p;
    p.CycleCountChanged("4", "1");
    EXPECT_EQ(p.periodSeconds(), "0.25");
    EXPECT_EQ(p.periodCaption(), "Period T =0.25 (s)");
    EXPECT_EQ(p.frequencyHertz(), "4");
    EXPECT_EQ(p.frequencyCaption(), "Freq. f  = 4 (Hz)");

    p.CycleCountChanged("4", "0.01");
    EXPECT_EQ(p.periodSeconds(), "0.0025");
    EXPECT_EQ(p.periodCaption(), "Period T =2.5 (ms)");
    EXPECT_EQ(p.frequencyCaption(), "Freq. f  = 400 (Hz)");
}

TEST(SelectionPeriodTest, ValuesAreTruncatedNotRounded)
{
    SelectionPeriod p;
    p.CycleCountChanged("3", "1");
    EXPECT_EQ(p.periodSeconds(), "0.333333333333333");  // kept in full
    EXPECT_EQ(p.periodCaption(), "Period T =0.3333 (s)");
    p.CycleCountChanged("1", "1.5");
    EXPECT_EQ(p.frequencyCaption(), "Freq. f  = 0.666 (Hz)");
    p.CycleCountChanged("3", "0.01");
    EXPECT_EQ(p.periodCaption(), "Period T =3.333 (ms)");
    // The displayed interval is what is divided: "0.20005" s over 2 cycles.
    p.CycleCountChanged("2", "0.20005");
    EXPECT_EQ(p.periodSeconds(), "0.100025");
    EXPECT_EQ(p.periodCaption(), "Period T =0.1 (s)");
    EXPECT_EQ(p.frequencyHertz(), "9.997");
}

TEST(SelectionPeriodTest, ZeroIntervalAndBadCountsKeepTheFrequency)
{
    SelectionPeriod p;
    p.CycleCountChanged("4", "1");
    p.CycleCountChanged("4", "0");
    EXPECT_EQ(p.periodCaption(), "Period T =0 (ms)");
    EXPECT_EQ(p.frequencyHertz(), "4");
    EXPECT_EQ(p.frequencyCaption(), "Freq. f  = 4 (Hz)");

    p.CycleCountChanged("4", "1");
    for (const char* count : {"0", "-2", "abc", ""}) {
        p.CycleCountChanged(count, "0.01");
        EXPECT_EQ(p.periodCaption(), "Period T =0.25 (s)") << count;
        EXPECT_EQ(p.periodSeconds(), "0.25") << count;
        EXPECT_EQ(p.frequencyCaption(), "Freq. f  = 4 (Hz)") << count;
    }
    // A count so small that the period overflows changes nothing either.
    p.CycleCountChanged("1E-320", "1");
    EXPECT_EQ(p.periodSeconds(), "0.25");
}

} // namespace
