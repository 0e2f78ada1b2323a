#pragma once
// What the spectrum window computes before it draws, without the window: the axis ranges rounded
// to whole decimal units, the plot position of a bin, the zoom range from a right-button drag,
// the peak, and the runs of bins per pixel column used when there are far more bins than pixels.
// All positions are in twips of the plot area, x from the left, y from the top.

#include <cstdint>
#include <optional>
#include <vector>

namespace spectrum {

// One axis of the drawn graph.
struct AxisRange {
    // False when the range cannot be drawn: a span of 0 (the horizontal axis then keeps the
    // previous range, the vertical axis draws nothing more) or no scale (both ends 0).
    bool valid = false;
    std::int16_t exponent = 0;   // decimal exponent of the span: xexp / yexp
    float low = 0.0f;            // x0 / y0
    float high = 0.0f;           // x1 / y1
    double scale = 0.0;          // twips per unit: xscalefactor / yscalefactor
    // Labelled divisions: nx (at most 20; 10 tick intervals each) or ny (5 tick intervals each).
    std::int32_t divisions = 0;
};

// The range a right-button drag zooms to (REGraphfft's xinit, xfinal, yinit, yfinal).
struct ZoomRange {
    float xinit = 0.0f, xfinal = 0.0f, yinit = 0.0f, yfinal = 0.0f;
};

struct SpectrumPeak {
    std::int32_t bin = -1;       // −1 when no bin is above 0
    float frequency = 0.0f;
    float magnitude = 0.0f;
};

// A point of the plot, in twips.
struct TracePoint {
    std::int64_t x = 0, y = 0;
    bool operator==(const TracePoint&) const = default;
};

// A run of bins that the screen shows in one pixel column: where the trace comes in (its first
// bin) and leaves (its last), the span of its heights, and the steps between two bins at the
// same point, which the screen shows as a dot rather than a line.
struct TraceRun {
    TracePoint first, last;
    std::int64_t top = 0, bottom = 0;     // smallest and largest y of its bins
    std::size_t dotsBegin = 0, dotsEnd = 0;   // its dots in Trace::dots
};

struct Trace {
    std::vector<TraceRun> runs;
    std::vector<TracePoint> dots;
};

class SpectrumPlot {
public:
    // Frequency axis: the left end rounded down to a whole unit u = 10^xexp (xexp = Int(log10 of
    // the span)), the right end down to a tenth of u; 11025 Hz gives 0 … 11000, nx = 11.
    static AxisRange Horizontal(float xinit, float xfinal, double widthTwips);
    // Magnitude axis: the bottom rounded down to a whole unit v = 10^yexp, the top up to the next
    // whole unit above yfinal; a peak of 523.7 gives 0 … 600, ny = 6.
    static AxisRange Vertical(float yinit, float yfinal, double heightTwips);

    // Label pattern of an axis ending at `high`: "###,##0" from 100 up, else "##0.00".
    static const char* LabelPattern(float high);

    // Plot position of a bin: X = Int((frequency − x0) × xscale),
    // Y = height − Int((magnitude − y0) × yscale). Not limited to the plot area.
    static std::int64_t PlotX(const AxisRange& x, float frequency);
    static std::int64_t PlotY(const AxisRange& y, float magnitude, double heightTwips);

    // The range of a right-button drag from (pressX, pressY) to (releaseX, releaseY) on a plot of
    // the given height drawn with axes x and y: frequencies in order, cut down to whole hundreds
    // when the upper one is above 1000 Hz, else to hundredths; magnitudes in order, the lower
    // raised to 0 if negative. Nothing (no zoom) unless both the frequencies and the magnitudes
    // differ.
    static std::optional<ZoomRange> Zoom(double pressX, double pressY, double releaseX,
                                         double releaseY, const AxisRange& x, const AxisRange& y,
                                         double heightTwips);

    // The bin with the largest magnitude, scanning upwards from a running maximum of 0 and
    // taking only a strictly larger value, so of equal maxima the lower frequency wins. The second
    // form looks only at bins whose frequency lies in [lowFrequency, highFrequency].
    static SpectrumPeak FindPeak(const float* xdata, const float* ydata, std::int32_t ndata);
    static SpectrumPeak FindPeak(const float* xdata, const float* ydata, std::int32_t ndata,
                                 float lowFrequency, float highFrequency);

    // Dense plotting: when there are more than two bins per pixel column of the plot, the
    // window draws per pixel column the span from the lowest to the highest magnitude of the
    // bins falling in it (bins 1 … ndata − 1 with frequency in [x0, x1]) and the trace's way in
    // from the column before, which is what the line through every bin puts on the screen.
    static bool IsDense(std::int32_t ndata, int pixelColumns);
    // The bins in range in runs, in order, with their plot positions: a bin joins the run
    // before it when both lie in one pixel column, ⌊PlotX × pixelsPerTwip⌋, well inside it. A
    // bin within 1/32 of a pixel of the column's edges, where the rasteriser's rounding may put
    // a slanting line's pixels into the column beside, runs only with bins of its own PlotX
    // (a vertical line).
    static Trace TraceRuns(const float* xdata, const float* ydata, std::int32_t ndata,
                           const AxisRange& x, const AxisRange& y, double heightTwips,
                           double pixelsPerTwip);
};

} // namespace spectrum
