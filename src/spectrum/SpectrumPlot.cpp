#include "spectrum/SpectrumPlot.h"

#include "general/General.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

bool SpectrumPlot::IsDense(std::int32_t ndata, int pixelColumns)
{
    return double(ndata) > 2.0 * pixelColumns;
}

Trace SpectrumPlot::TraceRuns(const float* xdata, const float* ydata, std::int32_t ndata,
                              const AxisRange& x, const AxisRange& y, double heightTwips,
                              double pixelsPerTwip)
{
    Trace trace;
    // The key of the run a bin belongs to: its pixel column, or for a bin near the column's
    // edges its own plot position (negative, so the two never meet).
    std::int64_t runKey = std::numeric_limits<std::int64_t>::min();
    TracePoint previous;
    for (std::int32_t i = 1; i < ndata; ++i) {
        const float f = xdata[i];
        if (f < x.low || f > x.high) continue;
        const TracePoint p{PlotX(x, f), PlotY(y, ydata[i], heightTwips)};
        // As the picture box scales a twip position to pixels.
        const double at = double(p.x) * pixelsPerTwip;
        const double column = std::floor(at);
        const double inside = at - column;
        const bool nearEdge = inside < 1.0 / 32 || inside >= 1.0 - 1.0 / 32;
        const std::int64_t key = nearEdge ? -1 - p.x : std::int64_t(column);
        if (key != runKey || trace.runs.empty()) {
            const std::size_t dots = trace.dots.size();
            trace.runs.push_back({p, p, p.y, p.y, dots, dots});
            runKey = key;
        } else {
            TraceRun& r = trace.runs.back();
            r.top = std::min(r.top, p.y);
            r.bottom = std::max(r.bottom, p.y);
            r.last = p;
            // A step of no length, once for each point.
            if (p == previous && (r.dotsEnd == r.dotsBegin || trace.dots.back() != p)) {
                trace.dots.push_back(p);
                r.dotsEnd = trace.dots.size();
            }
        }
        previous = p;
    }
    return trace;
}

} // namespace spectrum
