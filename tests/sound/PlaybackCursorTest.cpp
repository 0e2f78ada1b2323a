// The play cursor and the playing-time read-outs.
#include "sound/PlaybackCursor.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// A 2-second sound at 44100 Hz on a graph 4000 units wide, the player focused.
PlaybackCursor TwoSeconds()
{
    PlaybackCursor c;
    c.SetSampleRate(44100);
    c.SetWholeView();
    c.FocusGained(4000, 2);
    return c;
}

} // namespace

TEST(PlaybackCursor, StartsAtZeroAndHidden)
{
    PlaybackCursor c;
    EXPECT_EQ(c.Text1(), "0");
    EXPECT_EQ(c.Text2(), "0");
    EXPECT_EQ(c.x(), 0);
    EXPECT_FALSE(c.linesVisible());
    // Without a focus there is no scale yet: the cursor stays at 0 while the read-outs move.
    c.SetSampleRate(8000);
    c.TimerTick(1.25);
    EXPECT_EQ(c.x(), 0);
    EXPECT_EQ(c.Text1(), "1.250");
    EXPECT_EQ(c.Text2(), "10000");
}

TEST(PlaybackCursor, HalfASecondIntoATwoSecondSound)
{
    PlaybackCursor c = TwoSeconds();
    EXPECT_DOUBLE_EQ(c.cursorScale(), 2000);
    EXPECT_TRUE(c.linesVisible());

    c.TimerTick(0.5);
    EXPECT_EQ(c.x(), 1000);
    EXPECT_EQ(c.Text1(), ".500");
    EXPECT_EQ(c.Text2(), "22050");

    c.TimerTick(0);
    c.PositionChanged(0.5, 4000, 2);
    EXPECT_EQ(c.x(), 1000);
    EXPECT_EQ(c.Text1(), "0.5");
    EXPECT_EQ(c.Text2(), "22050");

    c.FocusLost();
    EXPECT_FALSE(c.linesVisible());
}

TEST(PlaybackCursor, ReadOutsKeepTheirDisplayedRounding)
{
    PlaybackCursor c = TwoSeconds();
    // A tick shows milliseconds; the cursor and the sample number use the shown value.
    c.TimerTick(0.12351);
    EXPECT_EQ(c.Text1(), ".124");
    EXPECT_EQ(c.x(), 248);
    EXPECT_EQ(c.Text2(), "5468");   // Int(44100 x 0.124) = Int(5468.4)

    // A position change truncates to five decimals; the cursor uses the position itself.
    c.PositionChanged(1.2345699, 4000, 2);
    EXPECT_EQ(c.Text1(), "1.23456");
    EXPECT_EQ(c.x(), 2469);
    EXPECT_EQ(c.Text2(), "54444");  // Int(44100 x 1.23456) = Int(54444.096)

    c.TimerTick(1234.5678);
    EXPECT_EQ(c.Text1(), "1234.568");
}

TEST(PlaybackCursor, WholeViewEqualsTheScaleOfTheMedia)
{
    // The zoom-aware mapping with the view on the whole sound gives Int(t x width / duration).
    const double width = 10060, duration = 3.7;
    PlaybackCursor whole, mapped;
    whole.SetWholeView();
    mapped.SetView(0, duration);
    whole.FocusGained(width, duration);
    mapped.FocusGained(width, duration);
    const double scale = width / duration;
    for (int i = 0; i < 370; ++i) {
        const double t = i * 0.01 + 0.0007 * (i % 3);
        whole.PositionChanged(t, width, duration);
        mapped.PositionChanged(t, width, duration);
        ASSERT_EQ(whole.x(), int(std::floor(t * scale))) << t;
        ASSERT_EQ(mapped.x(), whole.x()) << t;
        whole.TimerTick(t);
        mapped.TimerTick(t);
        ASSERT_EQ(mapped.x(), whole.x()) << t;
        ASSERT_TRUE(mapped.linesVisible()) << t;
    }
}

TEST(PlaybackCursor, ZoomedViewMapsTheTimeIntoTheView)
{
    PlaybackCursor c = TwoSeconds();
    c.SetView(50000, 0.25);   // 0.5 s to 0.75 s across the graph
    c.TimerTick(0.625);
    EXPECT_EQ(c.x(), 2000);
    EXPECT_TRUE(c.linesVisible());
    EXPECT_EQ(c.Text1(), ".625");        // the sound's own playing time
    EXPECT_EQ(c.Text2(), "27562");

    c.PositionChanged(0.75, 4000, 2);
    EXPECT_EQ(c.x(), 4000);
    EXPECT_TRUE(c.linesVisible());
    c.PositionChanged(0.8, 4000, 2);
    EXPECT_FALSE(c.linesVisible());
    EXPECT_EQ(c.Text1(), "0.8");
    c.TimerTick(0.4);
    EXPECT_FALSE(c.linesVisible());
    c.TimerTick(0.5);
    EXPECT_TRUE(c.linesVisible());
    EXPECT_EQ(c.x(), 0);

    c.SetWholeView();
    c.TimerTick(0.625);
    EXPECT_EQ(c.x(), 1250);
}

TEST(PlaybackCursor, StepsThatCannotBeComputedChangeNothing)
{
    PlaybackCursor c = TwoSeconds();
    c.TimerTick(0.5);
    // A medium without a duration keeps the last scale.
    c.FocusGained(4000, 0);
    EXPECT_DOUBLE_EQ(c.cursorScale(), 2000);
    c.PositionChanged(1.0, 4000, std::nan(""));
    EXPECT_DOUBLE_EQ(c.cursorScale(), 2000);
    EXPECT_EQ(c.x(), 2000);
    c.TimerTick(std::nan(""));
    c.PositionChanged(std::nan(""), 4000, 2);
    EXPECT_EQ(c.x(), 2000);
    EXPECT_EQ(c.Text1(), "1");
}

TEST(PlaybackCursor, LoopStartsAtTheSelection)
{
    EXPECT_DOUBLE_EQ(PlaybackCursor::LoopStartSeconds(22050, 44100), 0.5);
    EXPECT_DOUBLE_EQ(PlaybackCursor::LoopStartSeconds(0, 44100), 0);
    EXPECT_DOUBLE_EQ(PlaybackCursor::LoopStartSeconds(1000, 0), 0);
}
