#include "spectrum/LevelSpectrum.h"

#include "platform/dsp/Fft.h"

#include <algorithm>
#include <cmath>

namespace spectrum {

namespace {
double WindowValue(WindowFunction window, std::int32_t i, std::int32_t n)
{
    if (window == WindowFunction::Rectangular) return 1.0;
    return 0.5 - 0.5 * std::cos(2 * M_PI * double(i) / double(n));   // periodic Hann
}
}

double LevelSpectrum::LevelAt(double hz) const
{
    if (!ok() || binWidth <= 0 || level.empty()) return LevelFloorDb;
    const double bin = std::clamp(hz / binWidth, 0.0, double(level.size() - 1));
    const std::size_t k = std::size_t(std::floor(bin));
    if (k + 1 >= level.size()) return level.back();
    const double f = bin - double(k);
    return level[k] * (1 - f) + level[k + 1] * f;
}

LevelSpectrum ComputeLevelSpectrum(std::span<const float> samples, double sampleRate, double fullScale,
                                   double offset, WindowFunction window, std::int32_t maxPoints)
{
    LevelSpectrum s;
    s.window = window;
    s.sampleRate = sampleRate;
    const std::int64_t count = std::int64_t(samples.size());
    if (count < 4 || sampleRate <= 0 || fullScale <= 0) return s;
    std::int32_t n = 4;
    while (std::int64_t(n) * 2 <= count && n * 2 <= maxPoints) n *= 2;

    std::vector<double> weights(static_cast<std::size_t>(n));
    double gain = 0;
    for (std::int32_t i = 0; i < n; ++i) gain += weights[std::size_t(i)] = WindowValue(window, i, n);
    gain /= n;   // coherent gain: 1 rectangular, 0.5 Hann

    const std::int32_t half = n / 2;
    std::vector<double> power(std::size_t(half) + 1, 0.0);
    std::vector<float> re(static_cast<std::size_t>(n)), im(static_cast<std::size_t>(n));
    const std::int64_t hop = half;
    int segments = 0;
    for (std::int64_t at = 0; at + n <= count; at += hop) {
        for (std::int32_t i = 0; i < n; ++i) {
            re[std::size_t(i)] = float((samples[std::size_t(at + i)] - offset) / fullScale * weights[std::size_t(i)]);
            im[std::size_t(i)] = 0;
        }
        std::int32_t points = 0;
        fft(re.data(), im.data(), n, points);
        for (std::int32_t k = 0; k <= half; ++k) {
            const double a = re[std::size_t(k)], b = im[std::size_t(k)];
            power[std::size_t(k)] += a * a + b * b;
        }
        ++segments;
    }
    s.points = n;
    s.segments = segments;
    s.binWidth = sampleRate / n;
    s.correctionDb = -20 * std::log10(gain);
    // A sine of amplitude A gives |X| = A * n * gain / 2 at its bin: scaled so that A = 1 is 0 dB.
    const double scale = 2.0 / (double(n) * gain);
    std::vector<double> magnitude(power.size());
    s.frequency.resize(power.size());
    s.level.resize(power.size());
    for (std::size_t k = 0; k < power.size(); ++k) {
        magnitude[k] = std::sqrt(power[k] / segments) * scale;
        s.frequency[k] = float(double(k) * s.binWidth);
        s.level[k] = magnitude[k] > 0 ? std::max(LevelFloorDb, float(20 * std::log10(magnitude[k]))) : LevelFloorDb;
    }

    // The peak, between the bins.
    std::size_t best = 1;
    for (std::size_t k = 2; k + 1 < magnitude.size(); ++k)
        if (magnitude[k] > magnitude[best]) best = k;
    double delta = 0;
    if (best >= 1 && best + 1 < magnitude.size() && magnitude[best] > 0) {
        const double a = magnitude[best];
        const bool right = magnitude[best + 1] >= magnitude[best - 1];
        const double b = right ? magnitude[best + 1] : magnitude[best - 1];
        delta = window == WindowFunction::Hann ? (2 * b - a) / (a + b) : b / (a + b);
        delta = std::clamp(delta, 0.0, 1.0) * (right ? 1 : -1);
    }
    s.peakFrequency = (double(best) + delta) * s.binWidth;
    // The tone's own level: the peak bin lies |d| bins off it, where the window's kernel has
    // fallen to sinc(d) (rectangular) or sinc(d) / (1 - d^2) (Hann).
    const double d = std::abs(delta);
    double kernel = d > 1e-12 ? std::sin(M_PI * d) / (M_PI * d) : 1.0;
    if (window == WindowFunction::Hann) kernel /= (1 - d * d);
    s.peakLevel = s.level[best] - (kernel > 0 ? 20 * std::log10(kernel) : 0.0);
    return s;
}

QString LevelSpectrumText(const LevelSpectrum& spectrum, double fromHz, double toHz)
{
    QString text = QStringLiteral("Frequency (Hz)\tLevel (dB)\n");
    for (std::size_t k = 1; k < spectrum.level.size(); ++k) {
        const double f = spectrum.frequency[k];
        if (f < fromHz || f > toHz) continue;
        text += QString::number(f, 'f', 6) + '\t' + QString::number(spectrum.level[k], 'f', 6) + '\n';
    }
    return text;
}

} // namespace spectrum
