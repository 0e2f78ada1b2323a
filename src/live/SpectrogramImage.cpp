#include "live/SpectrogramImage.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace live {

QRgb ScaleColour(ColourScale scale, double fraction)
{
    const double f = std::clamp(fraction, 0.0, 1.0);
    if (scale == ColourScale::Grey) {
        const int v = int(std::lround(255 * f));
        return qRgb(v, v, v);
    }
    // black, blue, red, yellow, white
    struct Stop {
        double at;
        int r, g, b;
    };
    static constexpr Stop stops[] = {
        {0.0, 0, 0, 0}, {0.3, 20, 20, 160}, {0.6, 200, 30, 30}, {0.85, 250, 220, 40}, {1.0, 255, 255, 255}};
    for (std::size_t i = 1; i < std::size(stops); ++i) {
        if (f > stops[i].at) continue;
        const Stop& a = stops[i - 1];
        const Stop& b = stops[i];
        const double t = (f - a.at) / (b.at - a.at);
        return qRgb(int(a.r + t * (b.r - a.r)), int(a.g + t * (b.g - a.g)), int(a.b + t * (b.b - a.b)));
    }
    return qRgb(255, 255, 255);
}

void SpectrogramImage::configure(const Settings& settings)
{
    if (settings == settings_ && !ring_.isNull()) return;
    Settings sameScale = settings;
    sameScale.columns = settings_.columns;
    sameScale.rows = settings_.rows;
    const bool onlySize = sameScale == settings_ && !ring_.isNull();
    const QImage before = onlySize ? picture() : QImage();
    settings_ = settings;
    settings_.columns = std::max(1, settings.columns);
    settings_.rows = std::max(1, settings.rows);
    if (settings_.toHz <= settings_.fromHz) settings_.toHz = settings_.fromHz + 1;
    if (onlySize) {
        // A new size keeps what was drawn, stretched to it.
        ring_ = before.scaled(settings_.columns, settings_.rows, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .convertToFormat(QImage::Format_RGB32);
        next_ = 0;
        return;
    }
    ring_ = QImage(settings_.columns, settings_.rows, QImage::Format_RGB32);
    ring_.fill(ScaleColour(settings_.scale, 0));
    next_ = 0;
    added_ = 0;
}

void SpectrogramImage::addColumn(const LiveSpectrum& spectrum)
{
    if (ring_.isNull()) configure(settings_);
    const int rows = settings_.rows;
    const double span = settings_.toHz - settings_.fromHz;
    const double floor = std::min(-1.0, settings_.floorDb);
    for (int r = 0; r < rows; ++r) {
        // Row r covers the frequencies from `low` to `high` (row 0 at the top).
        const double high = settings_.toHz - span * r / rows;
        const double low = settings_.toHz - span * (r + 1) / rows;
        double amplitude = 0;
        if (spectrum.binHz > 0 && !spectrum.amplitude.empty()) {
            const double last = double(spectrum.amplitude.size() - 1);
            const double a = std::clamp(low / spectrum.binHz, 0.0, last);
            const double b = std::clamp(high / spectrum.binHz, 0.0, last);
            const auto first = std::size_t(std::ceil(a)), end = std::size_t(std::floor(b));
            // The strongest line in the row; a row narrower than a line takes the nearest line.
            if (first <= end)
                for (std::size_t k = first; k <= end; ++k) amplitude = std::max(amplitude, double(spectrum.amplitude[k]));
            else
                amplitude = spectrum.amplitude[std::size_t(std::lround((a + b) / 2))];
        }
        const double db = AmplitudeDb(amplitude);
        ring_.setPixel(next_, r, ScaleColour(settings_.scale, 1 - db / floor));
    }
    next_ = (next_ + 1) % settings_.columns;
    ++added_;
}

QImage SpectrogramImage::picture() const
{
    if (ring_.isNull()) return {};
    QImage out(ring_.size(), ring_.format());
    QPainter p(&out);
    const int w = ring_.width();
    // Columns next_ .. end are the oldest.
    p.drawImage(0, 0, ring_, next_, 0, w - next_, ring_.height());
    p.drawImage(w - next_, 0, ring_, 0, 0, next_, ring_.height());
    return out;
}

} // namespace live
