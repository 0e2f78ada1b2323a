#include "spectrum/SpectrumPlot.h"

#include "general/General.h"

#include <algorithm>
#include <cmath>
#include <cstring>
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

namespace {

// Where the trace's runs are collected: a bin at a plot position either joins the run before
// (same key) or opens one. The key of a run is its pixel column, or for a position near the
// column's edges its own plot position (negative, so the two never meet).
class RunCollector {
public:
    explicit RunCollector(double pixelsPerTwip) : pixelsPerTwip_(pixelsPerTwip) {}

    std::int64_t Key(std::int64_t plotX) const
    {
        // As the picture box scales a twip position to pixels.
        const double at = double(plotX) * pixelsPerTwip_;
        const double column = std::floor(at);
        const double inside = at - column;
        const bool nearEdge = inside < 1.0 / 32 || inside >= 1.0 - 1.0 / 32;
        return nearEdge ? -1 - plotX : std::int64_t(column);
    }

    // A stretch of bins at one key: its first and last points and the span of its heights.
    // True when it joined the run before, false when it opened one.
    bool Join(std::int64_t key, TracePoint first, TracePoint last, std::int64_t top, std::int64_t bottom)
    {
        if (key != runKey_ || trace.runs.empty()) {
            const std::size_t dots = trace.dots.size();
            trace.runs.push_back({first, last, top, bottom, dots, dots});
            runKey_ = key;
            return false;
        }
        TraceRun& r = trace.runs.back();
        r.top = std::min(r.top, top);
        r.bottom = std::max(r.bottom, bottom);
        r.last = last;
        return true;
    }

    // A step of no length to p inside the current run, once for each point.
    void Dot(TracePoint p)
    {
        TraceRun& r = trace.runs.back();
        if (r.dotsEnd == r.dotsBegin || trace.dots.back() != p) {
            trace.dots.push_back(p);
            r.dotsEnd = trace.dots.size();
        }
    }

    Trace trace;

private:
    const double pixelsPerTwip_;
    std::int64_t runKey_ = std::numeric_limits<std::int64_t>::min();
};

// The runs bin by bin: for bins in any order and any values.
Trace TraceEveryBin(const float* xdata, const float* ydata, std::int32_t ndata, const AxisRange& x,
                    const AxisRange& y, double heightTwips, double pixelsPerTwip)
{
    RunCollector runs(pixelsPerTwip);
    TracePoint previous;
    for (std::int32_t i = 1; i < ndata; ++i) {
        const float f = xdata[i];
        if (f < x.low || f > x.high) continue;
        const TracePoint p{SpectrumPlot::PlotX(x, f), SpectrumPlot::PlotY(y, ydata[i], heightTwips)};
        if (runs.Join(runs.Key(p.x), p, p, p.y, p.y) && p == previous) runs.Dot(p);
        previous = p;
    }
    return std::move(runs.trace);
}

using Floats = float __attribute__((vector_size(16)));
using Mask = std::int32_t __attribute__((vector_size(16)));

// The smallest and largest of n values, and whether they are all finite numbers.
struct Extremes {
    float low, high;
    bool finite;
};
Extremes ExtremesOf(const float* v, std::int32_t n)
{
    Extremes e{v[0], v[0], true};
    std::int32_t i = 0;
    if (n >= 4) {
        Floats lo, hi;
        std::memcpy(&lo, v, sizeof lo);
        hi = lo;
        Mask bad = (lo - lo) != 0;   // NaN or an infinity
        for (i = 4; i + 4 <= n; i += 4) {
            Floats a;
            std::memcpy(&a, v + i, sizeof a);
            lo = a < lo ? a : lo;
            hi = a > hi ? a : hi;
            bad |= (a - a) != 0;
        }
        for (int k = 0; k < 4; ++k) {
            e.low = std::min(e.low, lo[k]);
            e.high = std::max(e.high, hi[k]);
            e.finite = e.finite && !bad[k];
        }
    }
    for (; i < n; ++i) {
        e.low = std::min(e.low, v[i]);
        e.high = std::max(e.high, v[i]);
        e.finite = e.finite && std::isfinite(v[i]);
    }
    return e;
}

// Whether v[from] <= v[from + 1] <= ... <= v[to - 1], none of them NaN.
bool Ascending(const float* v, std::int32_t from, std::int32_t to)
{
    std::int32_t i = from;
    Mask wrong = {0, 0, 0, 0};
    for (; i + 5 <= to; i += 4) {
        Floats a, b;
        std::memcpy(&a, v + i, sizeof a);
        std::memcpy(&b, v + i + 1, sizeof b);
        wrong |= !(a <= b);
    }
    if (wrong[0] | wrong[1] | wrong[2] | wrong[3]) return false;
    for (; i + 1 < to; ++i)
        if (!(v[i] <= v[i + 1])) return false;
    return to - from < 1 || !std::isnan(v[to - 1]);
}

} // namespace

Trace SpectrumPlot::TraceRuns(const float* xdata, const float* ydata, std::int32_t ndata,
                              const AxisRange& x, const AxisRange& y, double heightTwips,
                              double pixelsPerTwip)
{
    // Frequencies in order (as every transform gives them) and finite scales: the bins of one
    // plot column, where PlotX is the same, lie side by side, and since PlotY only falls as
    // the magnitude rises, the column's highest and lowest points are those of its largest and
    // smallest magnitudes. So a column costs a few PlotX to find its end, a vector pass for its
    // extremes and PlotY of four bins; only a column whose bins differ in height is looked at
    // bin by bin for steps of no length. Anything else goes bin by bin throughout.
    const bool orderly = ndata > 1 && std::isfinite(x.low) && std::isfinite(x.high) && x.scale > 0 &&
                         std::isfinite(x.scale) && std::isfinite(y.low) && y.scale >= 0 &&
                         std::isfinite(y.scale) && std::isfinite(heightTwips) &&
                         Ascending(xdata, 1, ndata);
    if (!orderly) return TraceEveryBin(xdata, ydata, ndata, x, y, heightTwips, pixelsPerTwip);

    const std::int32_t from = std::int32_t(std::lower_bound(xdata + 1, xdata + ndata, x.low) - xdata);
    const std::int32_t to = std::int32_t(std::upper_bound(xdata + from, xdata + ndata, x.high) - xdata);
    RunCollector runs(pixelsPerTwip);
    auto plotY = [&](float m) { return PlotY(y, m, heightTwips); };
    std::int32_t width = 1;   // of the column before: the likely width of the next
    for (std::int32_t i = from; i < to;) {
        const std::int64_t column = PlotX(x, xdata[i]);
        // The first bin past the column: from a bin known inside, in growing steps to one
        // outside, then halving the gap.
        std::int32_t inside = i;
        if (width > 1 && i + width - 1 < to && PlotX(x, xdata[i + width - 1]) == column) inside = i + width - 1;
        std::int32_t outside = inside + 1;
        for (std::int32_t step = 1; outside < to && PlotX(x, xdata[outside]) == column; step *= 2) {
            inside = outside;
            outside = std::min(to, inside + step);
        }
        while (outside - inside > 1) {
            const std::int32_t middle = inside + (outside - inside) / 2;
            (PlotX(x, xdata[middle]) == column ? inside : outside) = middle;
        }
        const std::int32_t end = outside;
        width = end - i;

        const Extremes e = ExtremesOf(ydata + i, width);
        if (!e.finite) return TraceEveryBin(xdata, ydata, ndata, x, y, heightTwips, pixelsPerTwip);
        const std::int64_t top = plotY(e.high), bottom = plotY(e.low);
        const TracePoint first{column, plotY(ydata[i])}, last{column, plotY(ydata[end - 1])};
        runs.Join(runs.Key(column), first, last, top, bottom);
        if (width > 1 && top == bottom) {
            runs.Dot(first);   // every bin at one point
        } else if (width > 1) {
            std::int64_t before = first.y;
            for (std::int32_t k = i + 1; k < end; ++k) {
                const std::int64_t at = plotY(ydata[k]);
                if (at == before) runs.Dot({column, at});
                before = at;
            }
        }
        i = end;
    }
    return std::move(runs.trace);
}

} // namespace spectrum
