#include "spectrum/SpectrumDrawing.h"

#include "general/General.h"
#include "platform/ui/Surface.h"

#include <algorithm>
#include <cmath>

namespace spectrum {

void DrawSpectrumTrace(Surface& plot, const SpectrumData& data, const AxisRange& x,
                       const AxisRange& y, const QColor& trace, const QColor& baseLine)
{
    const double W = plot.ScaleWidth(), H = plot.ScaleHeight();
    const std::int32_t n = std::min<std::int32_t>(
        data.ndata, std::int32_t(std::min(data.xdata.size(), data.ydata.size())));
    plot.Line(0, H, W, H, baseLine);
    plot.PSet(0, double(SpectrumPlot::PlotY(y, n > 0 ? data.ydata[0] : 0.0f, H)), trace);
    if (SpectrumPlot::IsDense(n, W)) {
        const auto columns =
            SpectrumPlot::DenseColumns(data.xdata.data(), data.ydata.data(), n, x, std::int32_t(W));
        for (std::size_t c = 1; c < columns.size(); ++c) {
            if (!columns[c].any) continue;
            const double top = double(SpectrumPlot::PlotY(y, columns[c].highest, H));
            const double bottom = double(SpectrumPlot::PlotY(y, columns[c].lowest, H));
            plot.LineTo(double(c), bottom, trace);
            plot.Line(double(c), bottom, double(c), top, trace);
        }
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
