#include "live/LiveSpectrum.h"

#include "live/Transform.h"

#include <algorithm>
#include <cmath>

namespace live {

LiveSpectrum ComputeSpectrum(const float* samples, int n, double sampleRate, WindowShape shape)
{
    LiveSpectrum s;
    if (n < 2 || sampleRate <= 0) return s;
    // The coefficients of the last size asked for are kept: the window is the same every update.
    thread_local std::vector<float> window;
    thread_local WindowShape windowShape = WindowShape::Hann;
    if (int(window.size()) != n || windowShape != shape) {
        window = WindowCoefficients(shape, n);
        windowShape = shape;
    }
    std::vector<float> re(static_cast<std::size_t>(n)), im(std::size_t(n), 0.0f);
    for (int i = 0; i < n; ++i) re[std::size_t(i)] = samples[i] * window[std::size_t(i)];
    Transform(re, im);
    s.binHz = sampleRate / n;
    s.amplitude.resize(std::size_t(n / 2 + 1));
    const double scale = 2.0 / (double(n) * CoherentGain(shape));
    for (std::size_t k = 0; k < s.amplitude.size(); ++k) {
        const double m = std::hypot(double(re[k]), double(im[k])) * scale;
        // DC and Nyquist have no mirror image to share their energy with.
        s.amplitude[k] = float(k == 0 || k == std::size_t(n / 2) ? m / 2 : m);
    }
    return s;
}

SpectralPeak StrongestPeak(const LiveSpectrum& spectrum, WindowShape shape, double fromHz, double toHz)
{
    SpectralPeak peak;
    const std::size_t lines = spectrum.amplitude.size();
    if (lines < 3 || spectrum.binHz <= 0) return peak;
    const std::size_t first = std::max<std::size_t>(1, std::size_t(std::ceil(fromHz / spectrum.binHz)));
    const std::size_t last = std::min(lines - 2, std::size_t(std::max(0.0, std::floor(toHz / spectrum.binHz))));
    std::size_t k = 0;
    float best = 0;
    for (std::size_t i = first; i <= last; ++i)
        if (spectrum.amplitude[i] > best) {
            best = spectrum.amplitude[i];
            k = i;
        }
    if (k == 0 || best <= 1e-7f) return peak;

    const double a = spectrum.amplitude[k];
    const double left = spectrum.amplitude[k - 1], right = spectrum.amplitude[k + 1];
    const int side = right > left ? 1 : -1;
    const double ratio = std::max(left, right) / a;
    // The tone lies δ (0 .. ½) of a line from k towards its stronger neighbour, where the
    // window's transform has the ratio of the two lines: |W(1-δ)| / |W(δ)| grows with δ.
    auto ratioAt = [shape](double d) { return std::abs(ShapeResponse(shape, 1 - d)) / std::abs(ShapeResponse(shape, d)); };
    double lo = 0, hi = 0.5;
    if (ratio <= ratioAt(0)) hi = 0;
    else if (ratio >= 1) lo = 0.5;
    for (int i = 0; i < 60 && hi - lo > 1e-12; ++i) {
        const double mid = (lo + hi) / 2;
        (ratioAt(mid) < ratio ? lo : hi) = mid;
    }
    const double delta = (lo + hi) / 2;
    peak.found = true;
    peak.frequency = (double(k) + side * delta) * spectrum.binHz;
    peak.amplitude = a / std::abs(ShapeResponse(shape, delta));
    return peak;
}

double AmplitudeDb(double amplitude)
{
    if (!(amplitude > 0)) return MinimumDb;
    return std::max(MinimumDb, 20 * std::log10(amplitude));
}

} // namespace live
