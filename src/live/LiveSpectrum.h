#pragma once
// The spectrum of the latest stretch of live sound: a windowed transform whose lines are sine
// amplitudes (a sine of amplitude A on a bin reads A: the window's coherent gain is divided
// out; full scale is 1, so 20·log10 of a line is its level in dBFS), and the strongest peak found
// between bins with the window's own shape.
#include "live/WindowFunction.h"

#include <vector>

namespace live {

struct LiveSpectrum {
    double binHz = 0;                // spacing of the lines
    std::vector<float> amplitude;    // lines 0 .. N/2 (DC to Nyquist)
    double frequencyOf(std::size_t line) const { return double(line) * binHz; }
};

// The spectrum of the n samples at `samples` (n a power of two; full scale ±1) taken at
// sampleRate with the window `shape`. Empty for n below 2.
LiveSpectrum ComputeSpectrum(const float* samples, int n, double sampleRate, WindowShape shape);

struct SpectralPeak {
    bool found = false;
    double frequency = 0;   // Hz, between lines
    double amplitude = 0;   // the sine's amplitude, corrected for where it falls between lines
};

// The strongest line between fromHz and toHz (DC never), placed between its lines by matching
// the two strongest lines against the window's transform: for a steady sine this is exact up to
// the leakage of its mirror image and of other sounds. Nothing found in silence.
SpectralPeak StrongestPeak(const LiveSpectrum& spectrum, WindowShape shape, double fromHz, double toHz);

// Level in dB of an amplitude relative to full scale, at least MinimumDb.
constexpr double MinimumDb = -160;
double AmplitudeDb(double amplitude);

} // namespace live
