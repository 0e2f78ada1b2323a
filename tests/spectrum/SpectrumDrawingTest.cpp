#include "spectrum/SpectrumDrawing.h"

#include "platform/ui/Surface.h"

#include <gtest/gtest.h>

using spectrum::SpectrumPlot;

TEST(SpectrumDrawing, TicksAndLabelsOfA44100HzSpectrum)
{
    // 0 .. 11025 Hz is drawn as 0 .. 11000: 11 divisions of 1000 Hz, 110 tick intervals; a peak
    // of 523.7 gives 0 .. 600 in 6 divisions.
    const double W = 10632, H = 6084, left = 720, bottom = 360 + 6084;
    const spectrum::AxisRange x = SpectrumPlot::Horizontal(0.0f, 11025.0f, W);
    const spectrum::AxisRange y = SpectrumPlot::Vertical(0.0f, 523.7f, H);
    Surface window(12000, 8400);
    window.SetForeColor(Qt::black);
    spectrum::fftDrawTickMarks(window, left, bottom, W, H, x, y);

    const std::vector<QString> texts = window.Texts();
    ASSERT_EQ(texts.size(), 12u + 7u);
    EXPECT_EQ(texts.front(), "0");
    EXPECT_EQ(texts[1], "1,000");
    EXPECT_EQ(texts[11], "11,000");
    EXPECT_EQ(texts[12], "0");
    EXPECT_EQ(texts.back(), "600");
    // 111 ticks hang below the plot, the first on its left edge and the last on its right edge.
    EXPECT_TRUE(window.HasInkIn(left - 0.5, bottom + 170, left + 0.5, bottom + 180, Qt::black));  // 180 long
    EXPECT_TRUE(window.HasInkIn(left + W - 1, bottom + 170, left + W, bottom + 180, Qt::black));
    EXPECT_FALSE(window.HasInkIn(left + W / 110 + 2, bottom + 120, left + W / 110 + 3, bottom + 180,
                                 Qt::black));                                          // between ticks
    EXPECT_EQ(window.PrimitiveCount(), 111u + 31u + texts.size());
}

TEST(SpectrumDrawing, TheTraceRunsThroughTheBinsInRange)
{
    std::vector<float> freq = {0, 100, 200, 300, 400};
    std::vector<float> mag = {0, 10, 50, 10, 0};
    Surface plot(1000, 600);
    const spectrum::AxisRange x = SpectrumPlot::Horizontal(0.0f, 400.0f, 1000);
    const spectrum::AxisRange y = SpectrumPlot::Vertical(0.0f, 50.0f, 600);
    spectrum::DrawSpectrumTrace(plot, {freq, mag, 5}, x, y, Qt::blue, Qt::gray);
    // Base line, the start point, and a line to each of bins 1..4.
    EXPECT_EQ(plot.PrimitiveCount(), 2u + 4u);
    EXPECT_TRUE(plot.HasInkIn(0, 599, 1000, 600, Qt::gray));
    // The peak bin (200 Hz, 50 of 0..60) lies half way across, a sixth down from the top.
    EXPECT_TRUE(plot.HasInkIn(495, 95, 505, 105, Qt::blue));
}
