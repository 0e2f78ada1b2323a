#include "spectrum/SpectrumPlot.h"

#include "general/General.h"

#include <algorithm>
#include <cmath>

namespace spectrum {

using general::Int;

namespace {

// Twips per unit of an axis: size / |high − low|, or size / |high| when the two ends are equal.
// False when neither gives a finite scale.
bool SetScale(AxisRange& a, double sizeTwips)
{
    const double span = std::fabs(double(a.high) - double(a.low));
    a.scale = sizeTwips / (span != 0.0 ? span : std::fabs(double(a.high)));
    return std::isfinite(a.scale);
}

} // namespace

AxisRange SpectrumPlot::Horizontal(float xinit, float xfinal, double widthTwips)
{
    AxisRange a;
    const double span = std::fabs(double(xfinal) - double(xinit));
    if (!(span > 0.0)) return a;
    a.exponent = std::int16_t(Int(std::log10(span)));
    const double u = std::pow(10.0, a.exponent);
    const double lowUnits = Int(xinit / u), highTenths = Int(10.0 * xfinal / u);
    a.low = float(u * lowUnits);
    a.high = float(u * highTenths / 10.0);
    // (x1 − x0) × 10 / u, counted in whole tenths of u rather than from the single-precision
    // ends, whose rounding could make it one short.
    a.divisions = std::int32_t(std::min(20.0, highTenths - 10.0 * lowUnits));
    a.valid = SetScale(a, widthTwips);
    return a;
}

AxisRange SpectrumPlot::Vertical(float yinit, float yfinal, double heightTwips)
{
    AxisRange a;
    const double span = std::fabs(double(yfinal) - double(yinit));
    if (!(span > 0.0)) return a;
    a.exponent = std::int16_t(Int(std::log10(span)));
    const double v = std::pow(10.0, a.exponent);
    const double lowUnits = Int(yinit / v), highUnits = Int(yfinal / v) + 1.0;
    a.low = float(v * lowUnits);
    a.high = float(v * highUnits);
    // (y1 − y0) / v, counted in whole units rather than from the single-precision ends: 0.04
    // stored as a single is 0.0399999991, which would give 3 divisions instead of 4.
    a.divisions = std::int32_t(highUnits - lowUnits);
    a.valid = SetScale(a, heightTwips);
    return a;
}

const char* SpectrumPlot::LabelPattern(float high)
{
    return high >= 100.0f ? "###,##0" : "##0.00";
}

std::int64_t SpectrumPlot::PlotX(const AxisRange& x, float frequency)
{
    return std::int64_t(Int((double(frequency) - x.low) * x.scale));
}

std::int64_t SpectrumPlot::PlotY(const AxisRange& y, float magnitude, double heightTwips)
{
    return std::int64_t(heightTwips - Int((double(magnitude) - y.low) * y.scale));
}

std::optional<ZoomRange> SpectrumPlot::Zoom(double pressX, double pressY, double releaseX,
                                            double releaseY, const AxisRange& x,
                                            const AxisRange& y, double heightTwips)
{
    double f1 = std::min(pressX, releaseX) / x.scale + x.low;
    double f2 = std::max(pressX, releaseX) / x.scale + x.low;
    const double m1 = (heightTwips - pressY) / y.scale + y.low;
    const double m2 = (heightTwips - releaseY) / y.scale + y.low;
    // No magnitude below 0: a drag wholly below the plot gives 0 and 0, hence no zoom, rather
    // than an upside-down range.
    const double mLow = std::max(0.0, std::min(m1, m2));
    const double mHigh = std::max(0.0, std::max(m1, m2));
    if (f2 > 1000.0) {
        f1 = Int(f1 / 100.0) * 100.0;
        f2 = Int(f2 / 100.0) * 100.0;
    } else {
        f1 = Int(f1 * 100.0) / 100.0;
        f2 = Int(f2 * 100.0) / 100.0;
    }
    if (f1 == f2 || mLow == mHigh) return std::nullopt;
    return ZoomRange{float(f1), float(f2), float(mLow), float(mHigh)};
}

SpectrumPeak SpectrumPlot::FindPeak(const float* xdata, const float* ydata, std::int32_t ndata)
{
    SpectrumPeak peak;
    for (std::int32_t i = 0; i < ndata; ++i)
        if (ydata[i] > peak.magnitude) peak = {i, xdata[i], ydata[i]};
    return peak;
}

SpectrumPeak SpectrumPlot::FindPeak(const float* xdata, const float* ydata, std::int32_t ndata,
                                    float lowFrequency, float highFrequency)
{
    SpectrumPeak peak;
    for (std::int32_t i = 0; i < ndata; ++i)
        if (xdata[i] >= lowFrequency && xdata[i] <= highFrequency && ydata[i] > peak.magnitude)
            peak = {i, xdata[i], ydata[i]};
    return peak;
}

bool SpectrumPlot::IsDense(std::int32_t ndata, double widthTwips)
{
    return double(ndata) > 100.0 * widthTwips;
}

std::vector<ColumnExtent> SpectrumPlot::DenseColumns(const float* xdata, const float* ydata,
                                                     std::int32_t ndata, const AxisRange& x,
                                                     std::int32_t columns)
{
    std::vector<ColumnExtent> out(std::size_t(std::max(columns, 0)));
    for (std::int32_t i = 1; i < ndata; ++i) {
        if (xdata[i] < x.low || xdata[i] > x.high) continue;
        const std::int64_t c = PlotX(x, xdata[i]);
        if (c < 0 || c >= columns) continue;
        ColumnExtent& e = out[std::size_t(c)];
        if (!e.any) {
            e = {true, ydata[i], ydata[i]};
        } else {
            e.lowest = std::min(e.lowest, ydata[i]);
            e.highest = std::max(e.highest, ydata[i]);
        }
    }
    return out;
}

} // namespace spectrum
