#pragma once
// The fundamental of a sung or played note from the normalised autocorrelation of the sound
// (the square-difference form, 1 at a lag where the wave repeats exactly): the first lag whose
// peak comes near the best one. A note with strong harmonics still reads its fundamental, not a
// harmonic, and a sound with no repeating wave (noise, silence) reads nothing.
namespace live {

struct FundamentalReading {
    bool found = false;
    double frequency = 0;   // Hz
    double clarity = 0;     // the autocorrelation's peak, 0..1: how well the wave repeats
};

constexpr double LowestFundamentalHz = 40;
constexpr double HighestFundamentalHz = 2500;

// n samples (full scale ±1) at sampleRate. Uses lags up to n/2, so the lowest note read is
// max(LowestFundamentalHz, 2·sampleRate/n).
FundamentalReading FindFundamental(const float* samples, int n, double sampleRate);

} // namespace live
