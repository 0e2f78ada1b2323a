#pragma once
// Generated test sounds for the live tool's analysis, full scale ±1 or signed 16-bit.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

inline std::vector<float> SineWave(int n, double hz, double rate, double amplitude = 1, double phase = 0)
{
    std::vector<float> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) x[std::size_t(i)] = float(amplitude * std::sin(2 * std::numbers::pi * hz * i / rate + phase));
    return x;
}

// A band-limited sawtooth: harmonics k·hz below Nyquist with amplitudes 1/k.
inline std::vector<float> Sawtooth(int n, double hz, double rate, double amplitude = 0.5)
{
    std::vector<float> x(std::size_t(n), 0.0f);
    for (int k = 1; k * hz < rate / 2; ++k)
        for (int i = 0; i < n; ++i)
            x[std::size_t(i)] += float(amplitude / k * std::sin(2 * std::numbers::pi * k * hz * i / rate));
    return x;
}

inline std::vector<std::int16_t> ToPcm(const std::vector<float>& x)
{
    std::vector<std::int16_t> s(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        s[i] = std::int16_t(std::clamp(std::lround(x[i] * 32767.0), -32768L, 32767L));
    return s;
}

inline void AddNoise(std::vector<float>& x, double amplitude, unsigned seed = 7)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> d(-amplitude, amplitude);
    for (float& v : x) v += float(d(gen));
}
