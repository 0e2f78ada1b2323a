// Axis ranges, zoom, peak and dense columns of the spectrum graph, worked out by hand.
#include "spectrum/SpectrumPlot.h"

#include <gtest/gtest.h>

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

TEST(SpectrumPlot, DenseColumnsKeepEveryBinsExtremes)
{
    // 2^21 bins (a 2^23-point transform) over 0 … 11025 Hz on a 10632-twip plot.
    const std::int32_t ndata = 1 << 21;
    ASSERT_TRUE(SpectrumPlot::IsDense(ndata, kWidth));
    ASSERT_FALSE(SpectrumPlot::IsDense(1063200, kWidth));
    std::vector<float> x(ndata), y(ndata);
    for (std::int32_t i = 0; i < ndata; ++i) {
        x[std::size_t(i)] = float(i * (11025.0 / ndata));
        y[std::size_t(i)] = float(i % 100);    // a saw tooth: each column (~197 bins) holds 0 … 99
    }
    y[1234567] = 5000.0f;                      // one narrow line must survive
    y[0] = 0.0f;
    const AxisRange a = SpectrumPlot::Horizontal(0.0f, 11025.0f, kWidth);
    const std::int32_t columns = std::int32_t(kWidth) + 1;
    const auto cols = SpectrumPlot::DenseColumns(x.data(), y.data(), ndata, a, columns);
    ASSERT_EQ(cols.size(), std::size_t(columns));

    const std::int64_t spike = SpectrumPlot::PlotX(a, x[1234567]);
    std::size_t filled = 0;
    for (std::int32_t c = 0; c < columns; ++c) {
        const auto& e = cols[std::size_t(c)];
        if (!e.any) continue;
        ++filled;
        EXPECT_EQ(e.lowest, 0.0f) << "column " << c;
        EXPECT_EQ(e.highest, c == spike ? 5000.0f : 99.0f) << "column " << c;
    }
    // Every column has bins but the right edge's, which only a bin at exactly 11000 Hz reaches.
    EXPECT_EQ(SpectrumPlot::PlotX(a, 11000.0f), columns - 1);
    EXPECT_EQ(filled, std::size_t(columns) - 1);
    EXPECT_FALSE(cols.back().any);
}
