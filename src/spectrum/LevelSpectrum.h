#pragma once
// The spectrum as a level in dB, the way audio editors plot it: the sound cut into stretches of
// a power-of-two length (at most 65536 points, half overlapping), each multiplied by a window
// function and transformed, their powers averaged. A level of 0 dB is a sine at full scale: the
// window's coherent gain (0.5 for Hann, -6.02 dB) is corrected for, and that correction is kept
// to be shown. The rectangular window is the design's plain transform.
//
// The peak is found between the bins: from the two largest neighbouring magnitudes, with the
// formula that is exact for a pure tone under each window (Hann: d = (2b - a) / (a + b),
// rectangular: d = b / (a + b), a the peak bin and b its larger neighbour).
#include <QString>
#include <cstdint>
#include <span>
#include <vector>

namespace spectrum {

enum class WindowFunction { Hann, Rectangular };

struct LevelSpectrum {
    std::int32_t points = 0;       // transform length
    int segments = 0;              // stretches averaged
    double sampleRate = 0;
    double binWidth = 0;           // Hz
    WindowFunction window = WindowFunction::Hann;
    double correctionDb = 0;       // added to every level for the window's coherent gain
    std::vector<float> frequency;  // bins 0 .. points/2, Hz
    std::vector<float> level;      // dB relative to a full-scale sine
    double peakFrequency = 0;      // interpolated, bins 1 .. points/2 - 1
    double peakLevel = 0;          // the tone's level there, corrected for the bin's offset

    bool ok() const { return points > 0; }
    // The level at a frequency, linear between the two bins around it (for the cursor).
    double LevelAt(double hz) const;
};

constexpr std::int32_t LevelSpectrumPoints = 65536;
constexpr float LevelFloorDb = -200.0f;

// samples: one channel, with full scale at +-fullScale around offset (16-bit: 32768 and 0; the
// analyser's 8-bit raw bytes: 128 and 128). Nothing (points 0) for fewer than 4 samples.
LevelSpectrum ComputeLevelSpectrum(std::span<const float> samples, double sampleRate, double fullScale,
                                   double offset, WindowFunction window,
                                   std::int32_t maxPoints = LevelSpectrumPoints);

// The levels of the bins from fromHz to toHz as tab-separated text under the header
// "Frequency (Hz)\tLevel (dB)", one bin a line with six decimals, as Audacity exports its plot.
QString LevelSpectrumText(const LevelSpectrum& spectrum, double fromHz, double toHz);

} // namespace spectrum
