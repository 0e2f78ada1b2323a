#include "live/Fundamental.h"

#include "live/Transform.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace live {

namespace {
// A peak is taken when it comes within this share of the best peak (earlier lags first).
constexpr double kNearBest = 0.9;
// Below this the wave does not repeat well enough to call it a note.
constexpr double kLeastClarity = 0.5;
}

FundamentalReading FindFundamental(const float* samples, int n, double sampleRate)
{
    FundamentalReading reading;
    if (n < 16 || sampleRate <= 0) return reading;
    double mean = 0;
    for (int i = 0; i < n; ++i) mean += samples[i];
    mean /= n;
    std::vector<double> x(static_cast<std::size_t>(n));
    double energy = 0;
    for (int i = 0; i < n; ++i) {
        x[std::size_t(i)] = samples[i] - mean;
        energy += x[std::size_t(i)] * x[std::size_t(i)];
    }
    if (energy / n < 1e-9) return reading;   // silence (below -90 dBFS)

    // r(τ) through the transform: the power spectrum of the sound padded to twice its length,
    // transformed again (it is real and even, so the forward transform is the inverse's N times).
    std::size_t size = 1;
    while (size < std::size_t(2 * n)) size <<= 1;
    std::vector<float> re(size, 0.0f), im(size, 0.0f);
    for (int i = 0; i < n; ++i) re[std::size_t(i)] = float(x[std::size_t(i)]);
    Transform(re, im);
    for (std::size_t k = 0; k < size; ++k) {
        re[k] = re[k] * re[k] + im[k] * im[k];
        im[k] = 0;
    }
    Transform(re, im);

    const int maxLag = std::min(n / 2, int(sampleRate / LowestFundamentalHz));
    const int minLag = std::max(2, int(sampleRate / HighestFundamentalHz));
    std::vector<double> nsdf(std::size_t(maxLag + 2), 0.0);
    double m = 2 * energy;
    for (int lag = 0; lag <= maxLag + 1 && lag < n; ++lag) {
        if (lag > 0) m -= x[std::size_t(lag - 1)] * x[std::size_t(lag - 1)] + x[std::size_t(n - lag)] * x[std::size_t(n - lag)];
        const double r = double(re[std::size_t(lag)]) / double(size);
        nsdf[std::size_t(lag)] = m > 1e-12 ? 2 * r / m : 0;
    }

    // The highest point of each positive lobe after the first fall below zero.
    struct Key {
        int lag;
        double value;
    };
    std::vector<Key> keys;
    int lag = 1;
    while (lag <= maxLag && nsdf[std::size_t(lag)] > 0) ++lag;
    while (lag <= maxLag) {
        while (lag <= maxLag && nsdf[std::size_t(lag)] <= 0) ++lag;
        Key best{0, 0};
        while (lag <= maxLag && nsdf[std::size_t(lag)] > 0) {
            if (nsdf[std::size_t(lag)] > best.value) best = {lag, nsdf[std::size_t(lag)]};
            ++lag;
        }
        // A lobe cut off by the end of the lags has no peak of its own yet.
        if (best.lag >= minLag && lag <= maxLag) keys.push_back(best);
    }
    double highest = 0;
    for (const Key& k : keys) highest = std::max(highest, k.value);
    if (highest < kLeastClarity) return reading;
    for (const Key& k : keys) {
        if (k.value < kNearBest * highest) continue;
        // Between lags: the parabola through the peak and its neighbours.
        const double a = nsdf[std::size_t(k.lag - 1)], b = nsdf[std::size_t(k.lag)], c = nsdf[std::size_t(k.lag + 1)];
        const double denominator = a - 2 * b + c;
        const double shift = std::abs(denominator) > 1e-15 ? std::clamp(0.5 * (a - c) / denominator, -0.5, 0.5) : 0.0;
        reading.found = true;
        reading.frequency = sampleRate / (k.lag + shift);
        reading.clarity = std::min(1.0, b - 0.25 * (a - c) * shift);
        return reading;
    }
    return reading;
}

} // namespace live
