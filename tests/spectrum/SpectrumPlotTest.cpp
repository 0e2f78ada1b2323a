// Axis ranges, zoom, peak and the runs of bins of dense plots of the spectrum graph, worked out by hand.
#include "spectrum/SpectrumPlot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using spectrum::AxisRange;
using spectrum::SpectrumPlot;

namespace {
constexpr double kWidth = 10632.0, kHeight = 6084.0;

// An axis of one twip per unit starting at `low`, for driving Zoom with chosen values.
AxisRange UnitAxis(float low)
{
    AxisRange a;
    a.valid = true;
    a.low = low;
    a.scale = 1.0;
    return a;
}
} // namespace

TEST(SpectrumPlot, HorizontalRangeIsCutToWholeUnitsAndTenths)
{
    // 44100 Hz sound: 0 … 11025 Hz is drawn as 0 … 11000, 11 labelled divisions.
    AxisRange a = SpectrumPlot::Horizontal(0.0f, 11025.0f, kWidth);
    EXPECT_TRUE(a.valid);
    EXPECT_EQ(a.exponent, 4);
    EXPECT_EQ(a.low, 0.0f);
    EXPECT_EQ(a.high, 11000.0f);
    EXPECT_EQ(a.divisions, 11);
    EXPECT_DOUBLE_EQ(a.scale, kWidth / 11000.0);

    // 11025 Hz sound: 0 … 2756.25 gives 0 … 2700; 27 divisions are capped at 20.
    a = SpectrumPlot::Horizontal(0.0f, 2756.25f, kWidth);
    EXPECT_EQ(a.exponent, 3);
    EXPECT_EQ(a.high, 2700.0f);
    EXPECT_EQ(a.divisions, 20);

    // A left end that is not whole is rounded down to the unit.
    a = SpectrumPlot::Horizontal(1234.0f, 4321.0f, kWidth);
    EXPECT_EQ(a.exponent, 3);
    EXPECT_EQ(a.low, 1000.0f);
    EXPECT_EQ(a.high, 4300.0f);
    EXPECT_EQ(a.divisions, 20);
}

TEST(SpectrumPlot, VerticalRangeTopIsTheNextWholeUnitAbove)
{
    AxisRange a = SpectrumPlot::Vertical(0.0f, 523.7f, kHeight);
    EXPECT_TRUE(a.valid);
    EXPECT_EQ(a.exponent, 2);
    EXPECT_EQ(a.low, 0.0f);
    EXPECT_EQ(a.high, 600.0f);
    EXPECT_EQ(a.divisions, 6);
    EXPECT_DOUBLE_EQ(a.scale, kHeight / 600.0);

    // A whole unit goes one unit up; small magnitudes get a negative exponent.
    a = SpectrumPlot::Vertical(0.0f, 500.0f, kHeight);
    EXPECT_EQ(a.high, 600.0f);
    // 0.04 is stored as a single a little below 0.04; the divisions are still 4, so the labels
    // read 0.00, 0.01, 0.02, 0.03, 0.04 and not 0.00, 0.01 (for 0.0133), 0.03, 0.04.
    a = SpectrumPlot::Vertical(0.0f, 0.0375f, kHeight);
    EXPECT_EQ(a.exponent, -2);
    EXPECT_EQ(a.high, 0.04f);
    EXPECT_EQ(a.divisions, 4);
    a = SpectrumPlot::Vertical(0.0f, 0.563f, kHeight);
    EXPECT_EQ(a.high, 0.6f);
    EXPECT_EQ(a.divisions, 6);
}

TEST(SpectrumPlot, ZeroSpanCannotBeDrawn)
{
    // A silent sound: peak 0, so the vertical range stops the drawing.
    EXPECT_FALSE(SpectrumPlot::Vertical(0.0f, 0.0f, kHeight).valid);
    EXPECT_FALSE(SpectrumPlot::Horizontal(50.0f, 50.0f, kWidth).valid);
}

TEST(SpectrumPlot, ZoomCutsFrequenciesAndOrdersMagnitudes)
{
    const AxisRange x = UnitAxis(0.0f), y = UnitAxis(0.0f);
    // Above 1000 Hz: whole hundreds. Drag from right to left, bottom to top.
    auto z = SpectrumPlot::Zoom(1876.5, kHeight - 10.0, 1234.567, kHeight - 250.0, x, y, kHeight);
    ASSERT_TRUE(z.has_value());
    EXPECT_EQ(z->xinit, 1200.0f);
    EXPECT_EQ(z->xfinal, 1800.0f);
    EXPECT_EQ(z->yinit, 10.0f);
    EXPECT_EQ(z->yfinal, 250.0f);
    // Drawn as 1200 … 1800: unit 100, 60 divisions capped at 20.
    AxisRange a = SpectrumPlot::Horizontal(z->xinit, z->xfinal, kWidth);
    EXPECT_EQ(a.low, 1200.0f);
    EXPECT_EQ(a.high, 1800.0f);
    EXPECT_EQ(a.divisions, 20);

    // Up to 1000 Hz: hundredths. A magnitude below the axis is raised to 0.
    z = SpectrumPlot::Zoom(12.345, kHeight + 40.0, 98.765, kHeight - 3.5, x, y, kHeight);
    ASSERT_TRUE(z.has_value());
    EXPECT_EQ(z->xinit, 12.34f);
    EXPECT_EQ(z->xfinal, 98.76f);
    EXPECT_EQ(z->yinit, 0.0f);
    EXPECT_EQ(z->yfinal, 3.5f);
    // Drawn as 10 … 98: unit 10, the right end cut to a tenth of it.
    a = SpectrumPlot::Horizontal(z->xinit, z->xfinal, kWidth);
    EXPECT_EQ(a.exponent, 1);
    EXPECT_EQ(a.low, 10.0f);
    EXPECT_EQ(a.high, 98.0f);

    // Positions go through the axis scale and origin.
    AxisRange xs = UnitAxis(2000.0f);
    xs.scale = 0.5;  // twips per hertz
    z = SpectrumPlot::Zoom(100.0, 0.0, 700.0, 100.0, xs, y, kHeight);
    ASSERT_TRUE(z.has_value());
    EXPECT_EQ(z->xinit, 2200.0f);
    EXPECT_EQ(z->xfinal, 3400.0f);
}

TEST(SpectrumPlot, ZoomNeedsBothFrequenciesAndMagnitudesToDiffer)
{
    const AxisRange x = UnitAxis(0.0f), y = UnitAxis(0.0f);
    EXPECT_FALSE(SpectrumPlot::Zoom(500.0, 100.0, 500.0, 100.0, x, y, kHeight));   // a click
    EXPECT_FALSE(SpectrumPlot::Zoom(200.0, 100.0, 900.0, 100.0, x, y, kHeight));   // horizontal
    EXPECT_FALSE(SpectrumPlot::Zoom(300.0, 100.0, 300.0, 900.0, x, y, kHeight));   // vertical
    EXPECT_FALSE(SpectrumPlot::Zoom(1234.0, 100.0, 1290.0, 900.0, x, y, kHeight)); // same hundred
    // A drag wholly below the plot: both magnitudes negative, both raised to 0.
    EXPECT_FALSE(SpectrumPlot::Zoom(300.0, kHeight + 5.0, 800.0, kHeight + 90.0, x, y, kHeight));
}

TEST(SpectrumPlot, PlotPositionsCountFromTheAxisOrigin)
{
    const AxisRange x = SpectrumPlot::Horizontal(0.0f, 11025.0f, 11000.0);  // 1 twip per Hz
    const AxisRange y = SpectrumPlot::Vertical(0.0f, 523.7f, 6000.0);       // 10 twips per unit
    EXPECT_EQ(SpectrumPlot::PlotX(x, 440.7f), 440);
    EXPECT_EQ(SpectrumPlot::PlotY(y, 0.0f, 6000.0), 6000);
    EXPECT_EQ(SpectrumPlot::PlotY(y, 523.7f, 6000.0), 6000 - 5237);
    EXPECT_STREQ(SpectrumPlot::LabelPattern(x.high), "###,##0");
    EXPECT_STREQ(SpectrumPlot::LabelPattern(98.0f), "##0.00");
}

TEST(SpectrumPlot, PeakPrefersTheLowerOfEqualMaxima)
{
    const std::vector<float> x = {0, 10, 20, 30, 40, 50};
    const std::vector<float> y = {0, 3, 7, 2, 7, 1};
    auto p = SpectrumPlot::FindPeak(x.data(), y.data(), 6);
    EXPECT_EQ(p.bin, 2);
    EXPECT_EQ(p.frequency, 20.0f);
    EXPECT_EQ(p.magnitude, 7.0f);
    // Within a zoomed range only the bins inside count.
    p = SpectrumPlot::FindPeak(x.data(), y.data(), 6, 25.0f, 50.0f);
    EXPECT_EQ(p.bin, 4);
    p = SpectrumPlot::FindPeak(x.data(), y.data(), 6, 45.0f, 50.0f);
    EXPECT_EQ(p.bin, 5);
    // Nothing above 0: no peak bin, frequency 0.
    const std::vector<float> zeros(6, 0.0f);
    p = SpectrumPlot::FindPeak(x.data(), zeros.data(), 6);
    EXPECT_EQ(p.bin, -1);
    EXPECT_EQ(p.frequency, 0.0f);
}

TEST(SpectrumPlot, TraceRunsKeepEveryBinsExtremes)
{
    // 2^21 bins (a 2^23-point transform) over 0 … 11025 Hz on a 10632-twip plot, one run per twip
    // column when a pixel is a twip.
    const std::int32_t ndata = 1 << 21;
    // Dense from more than two bins a pixel column on.
    ASSERT_TRUE(SpectrumPlot::IsDense(ndata, 709));
    ASSERT_TRUE(SpectrumPlot::IsDense(1419, 709));
    ASSERT_FALSE(SpectrumPlot::IsDense(1418, 709));
    std::vector<float> x(ndata), y(ndata);
    for (std::int32_t i = 0; i < ndata; ++i) {
        x[std::size_t(i)] = float(i * (11025.0 / ndata));
        y[std::size_t(i)] = float(i % 100);    // a saw tooth: each column (~197 bins) holds 0 … 99
    }
    y[1234567] = 5000.0f;                      // one narrow line must survive
    y[0] = 0.0f;
    const AxisRange a = SpectrumPlot::Horizontal(0.0f, 11025.0f, kWidth);
    const AxisRange v = SpectrumPlot::Vertical(0.0f, 5000.0f, kHeight);
    const auto plotY = [&](float m) { return SpectrumPlot::PlotY(v, m, kHeight); };
    const auto runs = SpectrumPlot::TraceRuns(x.data(), y.data(), ndata, a, v, kHeight, 1.0).runs;

    // Every column from 0 up to the right edge has bins; the edge itself only a bin at exactly
    // 11000 Hz reaches, and bins above 11000 Hz are out of range.
    EXPECT_EQ(SpectrumPlot::PlotX(a, 11000.0f), std::int64_t(kWidth));
    ASSERT_EQ(runs.size(), std::size_t(kWidth));
    const std::int64_t spike = SpectrumPlot::PlotX(a, x[1234567]);
    for (std::size_t c = 0; c < runs.size(); ++c) {
        const auto& r = runs[c];
        ASSERT_EQ(r.first.x, std::int64_t(c));
        ASSERT_EQ(r.last.x, std::int64_t(c));
        EXPECT_EQ(r.bottom, plotY(0.0f)) << "column " << c;
        EXPECT_EQ(r.top, plotY(std::int64_t(c) == spike ? 5000.0f : 99.0f)) << "column " << c;
    }
    // The first and last bins of a run: bin 1 opens the first, the last bin of column 0 closes it.
    EXPECT_EQ(runs[0].first.y, plotY(1.0f));
    std::int32_t lastOfFirst = 1;
    while (SpectrumPlot::PlotX(a, x[std::size_t(lastOfFirst + 1)]) == 0) ++lastOfFirst;
    EXPECT_GT(lastOfFirst, 150);
    EXPECT_EQ(runs[0].last.y, plotY(float(lastOfFirst % 100)));

    // Scaled to 709 pixels, columns hold about 15 twips; a twip position within 1/32 of a
    // pixel of its column's edges runs on its own.
    const auto pixelRuns = SpectrumPlot::TraceRuns(x.data(), y.data(), ndata, a, v, kHeight, 709.0 / kWidth).runs;
    std::size_t edges = 0;
    for (const auto& r : pixelRuns) {
        const double from = double(r.first.x) * 709.0 / kWidth, to = double(r.last.x) * 709.0 / kWidth;
        const double inFrom = from - std::floor(from), inTo = to - std::floor(to);
        if (inFrom < 1.0 / 32 || inFrom >= 1.0 - 1.0 / 32) {
            ++edges;
            EXPECT_EQ(r.first.x, r.last.x);
        } else {
            EXPECT_EQ(std::floor(from), std::floor(to)) << r.first.x << " .. " << r.last.x;
            EXPECT_GE(inTo, 1.0 / 32);
            EXPECT_LT(inTo, 1.0 - 1.0 / 32);
        }
    }
    EXPECT_GT(edges, 0u);
    EXPECT_LT(pixelRuns.size(), 709u + edges * 2 + 1);
}

TEST(SpectrumPlot, TraceRunsOfOrderedBinsAreThoseOfTheBinByBinWalk)
{
    // Frequencies in order are walked a plot column at a time; a bin out of order makes the
    // walk go bin by bin. A last bin far below the range (never drawn) puts the same bins
    // through the second walk: the two traces must agree run for run and dot for dot.
    const std::int32_t n = 1 << 16;
    std::vector<float> freq(std::size_t(n) + 1), mag(std::size_t(n) + 1);
    std::uint32_t seed = 99;
    for (std::int32_t i = 0; i <= n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        freq[std::size_t(i)] = float(i * (11025.0 / n));
        // Noise; silent stretches (one point per column); stretches of a few levels only, so
        // columns hold steps of no length between bins of different heights; a few lines.
        const float noise = float(seed >> 8) / 65536.0f;
        const int k = i % 20000;
        mag[std::size_t(i)] = k >= 200 && k < 400 ? 0.0f : k >= 600 && k < 1400 ? float((seed >> 28) % 3) * 40 : noise;
    }
    mag[12345] = 2000.0f;
    mag[40000] = 1999.0f;
    freq[std::size_t(n) - 1] = -5000.0f;   // out of order, and out of range
    const AxisRange v = SpectrumPlot::Vertical(0.0f, 2000.0f, kHeight);
    for (const float high : {11025.0f, 2500.0f, 300.0f}) {
        for (const double pixelsPerTwip : {1.0, 709.0 / kWidth, 430.0 / kWidth}) {
            const AxisRange a = SpectrumPlot::Horizontal(0.0f, high, kWidth);
            // Up to n - 2: the bins in order; up to n: the same bins, with the one out of order.
            const auto ordered = SpectrumPlot::TraceRuns(freq.data(), mag.data(), n - 1, a, v, kHeight, pixelsPerTwip);
            const auto each = SpectrumPlot::TraceRuns(freq.data(), mag.data(), n, a, v, kHeight, pixelsPerTwip);
            const std::string where = "up to " + std::to_string(high) + " Hz, " + std::to_string(pixelsPerTwip);
            ASSERT_EQ(ordered.runs.size(), each.runs.size()) << where;
            for (std::size_t r = 0; r < each.runs.size(); ++r) {
                const auto &p = ordered.runs[r], &q = each.runs[r];
                ASSERT_TRUE(p.first == q.first && p.last == q.last && p.top == q.top && p.bottom == q.bottom &&
                            p.dotsBegin == q.dotsBegin && p.dotsEnd == q.dotsEnd)
                    << where << ", run " << r;
            }
            EXPECT_EQ(ordered.dots, each.dots) << where;
            // The steps were there to find, where columns hold more than one bin (up to 300 Hz
            // a bin spans several twips).
            EXPECT_TRUE(high < 1000 || each.dots.size() > 8u) << where;
        }
    }
}
