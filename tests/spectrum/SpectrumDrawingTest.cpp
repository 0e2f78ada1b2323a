#include "spectrum/SpectrumDrawing.h"

#include "platform/ui/Surface.h"

#include <QImage>
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

TEST(SpectrumDrawing, ADenseTraceShowsTheSamePixelsAsALineThroughEveryBin)
{
    // 2^18 bins of a noisy spectrum with a few narrow lines and a silent stretch, over
    // 0 .. 11025 Hz: some 370 bins a pixel column at the plot's design width. Drawn per pixel
    // column, the picture must be the one a line through every bin gives, pixel for pixel, at
    // the size it was drawn for.
    const std::int32_t n = 1 << 18;
    std::vector<float> freq(std::size_t(n) + 1), mag(std::size_t(n) + 1);
    std::uint32_t seed = 12345;
    for (std::int32_t i = 0; i <= n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        freq[std::size_t(i)] = float(i * (11025.0 / n));
        // Noise, louder near every 50000th bin, and a silent stretch (steps of no length).
        mag[std::size_t(i)] = float(seed >> 8) / 65536.0f * (1.0f + 3.0f * float(i % 50000 < 300)) *
                              float(i < 150000 || i > 170000);
    }
    mag[123457] = 2000.0f;   // a line one bin wide
    mag[200000] = 1500.0f;
    const double W = 10632, H = 6084;
    const spectrum::AxisRange y = SpectrumPlot::Vertical(0.0f, 2000.0f, H);
    // The whole range at the design width and at the smallest the window can be made, and a
    // zoomed-in range on a larger window.
    const std::pair<float, int> cases[] = {{11025.0f, 709}, {11025.0f, 430}, {3000.0f, 1063}};
    for (const auto& [high, pixels] : cases) {
        const spectrum::AxisRange x = SpectrumPlot::Horizontal(0.0f, high, W);
        {   // one picture per case
            Surface dense{int(W), int(H)}, everyBin{int(W), int(H)};
            const QSize size(pixels, int(pixels * H / W));
            spectrum::DrawSpectrumTrace(dense, {freq, mag, n}, x, y, Qt::blue, Qt::gray, size);
            everyBin.Line(0, H, W, H, Qt::gray);
            everyBin.PSet(0, double(SpectrumPlot::PlotY(y, mag[0], H)), Qt::blue);
            for (std::int32_t i = 1; i < n; ++i)
                if (freq[std::size_t(i)] >= x.low && freq[std::size_t(i)] <= x.high)
                    everyBin.LineTo(double(SpectrumPlot::PlotX(x, freq[std::size_t(i)])),
                                    double(SpectrumPlot::PlotY(y, mag[std::size_t(i)], H)), Qt::blue);
            ASSERT_LT(dense.PrimitiveCount(), std::size_t(n / 40)) << pixels;   // far fewer lines
            const QImage a = dense.ToImage(size), b = everyBin.ToImage(size);
            int differing = 0;
            for (int py = 0; py < size.height(); ++py)
                for (int px = 0; px < size.width(); ++px)
                    differing += a.pixel(px, py) != b.pixel(px, py);
            EXPECT_EQ(differing, 0) << "up to " << high << " Hz at " << pixels << " pixels";
        }
    }
}
