// The time scale and the amplitude scale drawn around the graph container.
#include "sound/DrawTickMarks.h"
#include "sound/SoundDocument.h"
#include "platform/ui/Surface.h"

#include <gtest/gtest.h>

namespace {

const TickFrame Picture1{300, 600, 10104, 3870};

SoundDocument Doc(int samples, int rate, const char* mode = "Stereo", const char* bits = "16 bits")
{
    SoundDocument d;
    d.totalSamplesText = QString::number(samples);
    d.sampleRateText = QString::number(rate);
    d.channelModeTag = mode;
    d.bitsText = bits;
    return d;
}

// The length of the vertical tick at x, measured upwards from the container's top.
int TickLength(const Surface& s, double x)
{
    for (int len = 0; len < 400; ++len)
        if (!s.HasInkIn(x - 0.1, 600 - len - 1.1, x + 0.1, 600 - len - 0.9, s.ForeColor()))
            return len;
    return -1;
}

// The length of the horizontal tick at y, measured leftwards from the container's left edge.
int LeftTickLength(const Surface& s, double y)
{
    for (int len = 0; len < 400; ++len)
        if (!s.HasInkIn(300 - len - 1.1, y - 0.1, 300 - len - 0.9, y + 0.1, s.ForeColor()))
            return len;
    return -1;
}

} // namespace

TEST(DrawTickMarks, OneSecondHasElevenTicksOfTenthSeconds)
{
    Surface w(11025, 7575);
    const QString label = DrawTickMarks(w, Picture1, Doc(44100, 44100), false);
    EXPECT_EQ(label, "time in0.1 sec");
    EXPECT_EQ(w.PrimitiveCount(), 11u);
    EXPECT_EQ(TickLength(w, 300), 180);               // first tick on the left edge
    EXPECT_EQ(TickLength(w, 300 + 1010), 100);        // floor(1 * 10104 / 10)
    EXPECT_EQ(TickLength(w, 300 + 5052), 150);
    EXPECT_EQ(TickLength(w, 300 + 10104), 180);       // last tick on the right edge
    EXPECT_EQ(TickLength(w, 300 + 505), 0);           // nothing between ticks
}

TEST(DrawTickMarks, StepAndLabelFollowThePowerOfTen)
{
    struct Case { int samples; int rate; unsigned ticks; const char* label; };
    for (const Case& c : {Case{12 * 8000, 8000, 13, "time in1 sec"},
                          Case{99900, 10000, 100, "time in0.1 sec"},      // 9.99 s: 99 steps
                          Case{25 * 4410, 44100, 26, "time in0.1 sec"},   // 2.5 s: 25 steps
                          Case{2205, 44100, 51, "time in1 ms"},           // 0.05 s: e = -2
                          Case{22050, 44100, 51, "time in0.01 sec"}}) {   // 0.5 s: e = -1
        Surface w(11025, 7575);
        const QString label = DrawTickMarks(w, Picture1, Doc(c.samples, c.rate), false);
        EXPECT_EQ(w.PrimitiveCount(), c.ticks) << c.samples;
        EXPECT_EQ(label, c.label) << c.samples;
    }
}

TEST(DrawTickMarks, SixteenBitMonoGetsAmplitudeTicksUnlessTheReadoutIsOn)
{
    Surface w(11025, 7575);
    DrawTickMarks(w, Picture1, Doc(44100, 44100, "Mono"), false);
    EXPECT_EQ(w.PrimitiveCount(), 11u + 34u);    // 17 above and 17 below the middle
    const double mid = 1935 + 600;
    EXPECT_EQ(LeftTickLength(w, mid), 150);                      // 0 units, drawn twice
    EXPECT_EQ(LeftTickLength(w, mid + 117), 100);                // 2000 units: floor(2000/17)
    EXPECT_EQ(LeftTickLength(w, mid - 588), 150);                // 10000 units
    EXPECT_EQ(LeftTickLength(w, mid + 1882), 100);               // 32000 units, the last
    EXPECT_EQ(LeftTickLength(w, mid - 1999), 0);

    for (const SoundDocument& d : {Doc(44100, 44100, "Stereo"), Doc(44100, 44100, "Mono", "8 bits")}) {
        Surface s(11025, 7575);
        DrawTickMarks(s, Picture1, d, false);
        EXPECT_EQ(s.PrimitiveCount(), 11u);
    }
    Surface checked(11025, 7575);
    DrawTickMarks(checked, Picture1, Doc(44100, 44100, "Mono"), true);
    EXPECT_EQ(checked.PrimitiveCount(), 11u);
}

TEST(DrawTickMarks, SoundWithoutSamplesHasNoScale)
{
    Surface w(11025, 7575);
    EXPECT_TRUE(DrawTickMarks(w, Picture1, Doc(0, 44100), false).isEmpty());
    EXPECT_TRUE(DrawTickMarks(w, Picture1, Doc(100, 0), false).isEmpty());
    EXPECT_EQ(w.PrimitiveCount(), 0u);
}
