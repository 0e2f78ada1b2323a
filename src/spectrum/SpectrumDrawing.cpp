#include "spectrum/SpectrumDrawing.h"

#include "general/General.h"
#include "platform/ui/Surface.h"
#include "platform/ui/Twips.h"

#include <algorithm>
#include <cmath>

namespace spectrum {

namespace {

// Whether the pixel a dot (a line of no length) puts on the screen surely lies on the span of
// its run, drawn at the run's first point: a dot goes to the nearest pixel, a line's end to the
// pixel it falls in. In doubt (a position near a half pixel), the dot is drawn.
bool DotCovered(const TracePoint& dot, const TraceRun& run, double sx, double sy)
{
    constexpr double margin = 1.0 / 32;
    const double px = double(dot.x) * sx, py = double(dot.y) * sy;
    const double fx = px - std::floor(px), fy = py - std::floor(py);
    if (fx < margin || fx > 0.5 - margin || std::fabs(fy - 0.5) < margin) return false;
    if (std::floor(px) != std::floor(double(run.first.x) * sx)) return false;
    const double row = std::floor(py + 0.5);
    return row >= std::floor(double(run.top) * sy) && row <= std::floor(double(run.bottom) * sy);
}

} // namespace

void DrawSpectrumTrace(Surface& plot, const SpectrumData& data, const AxisRange& x,
                       const AxisRange& y, const QColor& trace, const QColor& baseLine,
                       QSize pixelSize)
{
    const double W = plot.ScaleWidth(), H = plot.ScaleHeight();
    const std::int32_t n = std::min<std::int32_t>(
        data.ndata, std::int32_t(std::min(data.xdata.size(), data.ydata.size())));
    plot.Line(0, H, W, H, baseLine);
    plot.PSet(0, double(SpectrumPlot::PlotY(y, n > 0 ? data.ydata[0] : 0.0f, H)), trace);
    if (pixelSize.isEmpty()) pixelSize = QSize(twips::ToPixels(W), twips::ToPixels(H));
    if (W > 0 && H > 0 && SpectrumPlot::IsDense(n, pixelSize.width())) {
        // Inside a column the line through the bins is a connected path less than a pixel wide:
        // on the screen, the span of its heights, and a dot for a step of no length. Between
        // columns it is the line from the last bin of one to the first of the next, drawn as it
        // was.
        const double sx = pixelSize.width() / W, sy = pixelSize.height() / H;
        const Trace t = SpectrumPlot::TraceRuns(data.xdata.data(), data.ydata.data(), n, x, y, H, sx);
        double lastX = plot.CurrentX, lastY = plot.CurrentY;
        for (const TraceRun& r : t.runs) {
            const double firstX = double(r.first.x);
            plot.Line(lastX, lastY, firstX, double(r.first.y), trace);
            // A run at one height is what the line into it ends on.
            if (r.top != r.bottom) plot.Line(firstX, double(r.top), firstX, double(r.bottom), trace);
            for (std::size_t d = r.dotsBegin; d < r.dotsEnd; ++d) {
                const TracePoint& dot = t.dots[d];
                if (!DotCovered(dot, r, sx, sy)) plot.Line(double(dot.x), double(dot.y), double(dot.x), double(dot.y), trace);
            }
            lastX = double(r.last.x);
            lastY = double(r.last.y);
        }
        plot.CurrentX = lastX;
        plot.CurrentY = lastY;
        return;
    }
    for (std::int32_t i = 1; i < n; ++i) {
        if (data.xdata[size_t(i)] < x.low || data.xdata[size_t(i)] > x.high) continue;
        plot.LineTo(double(SpectrumPlot::PlotX(x, data.xdata[size_t(i)])),
                    double(SpectrumPlot::PlotY(y, data.ydata[size_t(i)], H)), trace);
    }
}

void fftDrawTickMarks(Surface& window, double left, double bottom, double innerW, double innerH,
                       const AxisRange& x, const AxisRange& y)
{
    const int nx = std::max(1, int(x.divisions));
    const int ny = std::max(1, int(y.divisions));

    const double xStep = innerW / (nx * 10.0);
    const QString xPattern = QString::fromLatin1(SpectrumPlot::LabelPattern(x.high));
    const int labelEvery = nx == 20 ? 20 : 10;
    for (int i = 0; i <= nx * 10; ++i) {
        const double length = i % 10 == 0 ? 180 : i % 5 == 0 ? 150 : 100;
        const double at = left + std::floor(i * xStep);
        window.Line(at, bottom, at, bottom + length);
        if (i % labelEvery == 0) {
            const double value = x.low + double(x.high - x.low) * i / (nx * 10.0);
            window.CurrentX = at - xStep / 2;
            window.CurrentY = bottom + 150;
            window.Print(general::Format(value, xPattern));
        }
    }
    const double yStep = innerH / (ny * 5.0);
    const QString yPattern = QString::fromLatin1(SpectrumPlot::LabelPattern(y.high));
    for (int i = 0; i <= ny * 5; ++i) {
        const double length = i % 5 == 0 ? 150 : 100;
        const double at = bottom - std::floor(i * yStep);
        window.Line(left, at, left - length, at);
    }
    for (int i = 0; i <= ny; ++i) {
        const double value = y.low + double(y.high - y.low) * i / ny;
        window.CurrentX = 100;
        // Half a tick interval above the tick, lifted by about half a text line.
        window.CurrentY = bottom - std::floor(i * 5 * yStep) - yStep / 2 - 120;
        window.Print(general::Format(value, yPattern));
    }
}

} // namespace spectrum
