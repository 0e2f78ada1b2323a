#pragma once
// The spectrum graph's drawing, without a window: the trace of the bins in range on the plot
// surface, and the tick marks and numbered labels around the plot on the window's surface.
#include "spectrum/SpectrumPlot.h"

#include <QColor>
#include <QPointF>
#include <QSize>
#include <cstdint>
#include <vector>

class Surface;

namespace spectrum {

struct SpectrumData {
    const std::vector<float>& xdata;   // frequency of each bin, Hz
    const std::vector<float>& ydata;   // magnitude of each bin
    std::int32_t ndata = 0;            // bins in use
};

// Draws the base line and the trace on the plot. The trace starts at x = 0 with the height of
// bin 0 and runs through the bins whose frequency lies in the horizontal range. pixelSize is the
// plot's size on the screen (empty: 15 twips a pixel); with more than two bins a pixel column,
// each column is drawn as the span of its heights, the trace's way in from the column before
// and the dots of its steps of no length: the same pixels on the screen as a line through
// every bin, with far fewer lines to draw.
void DrawSpectrumTrace(Surface& plot, const SpectrumData& data, const AxisRange& x,
                       const AxisRange& y, const QColor& trace, const QColor& baseLine,
                       QSize pixelSize = {});

// Ticks hang below the plot's bottom edge (10 per horizontal division, longer every 5th and
// 10th) and point left from its left edge (5 per vertical division), with labels at every 10th
// horizontal tick (20th with 20 divisions) and every vertical division. plotLeft/plotBottom are
// the plot's outer left and bottom edges on the window; plotWidth/plotHeight its inner size.
void fftDrawTickMarks(Surface& window, double plotLeft, double plotBottom, double plotWidth,
                       double plotHeight, const AxisRange& x, const AxisRange& y);

} // namespace spectrum
