// The spectrum in dB with a window function: a full-scale sine at 0 dB, the interpolated peak,
// the rectangular window as the plain transform, and the exported text.
#include "spectrum/LevelSpectrum.h"

#include <QStringList>
#include <cmath>
#include <gtest/gtest.h>

using namespace spectrum;

namespace {
std::vector<float> Tone(int n, double hz, double rate, double amplitude, double offset = 0)
{
    std::vector<float> s(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) s[std::size_t(i)] = float(offset + amplitude * std::sin(2 * M_PI * hz * i / rate));
    return s;
}
}

TEST(LevelSpectrum, HannPeakOf440HzLiesWithinAHundredthOfABin)
{
    // Three seconds at 44100 Hz: 65536-point stretches (0.67 Hz bins), averaged.
    const std::vector<float> s = Tone(132300, 440, 44100, 32767);
    const LevelSpectrum l = ComputeLevelSpectrum(s, 44100, 32768, 0, WindowFunction::Hann);
    ASSERT_TRUE(l.ok());
    EXPECT_EQ(l.points, 65536);
    EXPECT_EQ(l.segments, 3);
    EXPECT_NEAR(l.peakFrequency, 440.0, 0.05);
    EXPECT_NEAR(l.peakLevel, 0.0, 0.1);
    EXPECT_NEAR(l.correctionDb, 6.02, 0.01);
    // Far from the tone the Hann window's leakage is deep down.
    EXPECT_LT(l.LevelAt(4000), -100);
    // Other frequencies between bins, and a quieter tone.
    for (double hz : {1000.3, 2500.77, 97.1}) {
        const LevelSpectrum t = ComputeLevelSpectrum(Tone(65536, hz, 44100, 3276.8), 44100, 32768, 0,
                                                     WindowFunction::Hann);
        EXPECT_NEAR(t.peakFrequency, hz, 0.05) << hz;
        EXPECT_NEAR(t.peakLevel, -20.0, 0.1) << hz;
    }
}

TEST(LevelSpectrum, RectangularWindowIsThePlainTransform)
{
    // A tone on bin 100 of 4096 points: 0 dB on its bin, no correction, exact frequency.
    const double rate = 8000;
    const double hz = 100 * rate / 4096;
    const LevelSpectrum l = ComputeLevelSpectrum(Tone(4096, hz, rate, 32768), rate, 32768, 0,
                                                 WindowFunction::Rectangular, 4096);
    ASSERT_EQ(l.points, 4096);
    EXPECT_EQ(l.segments, 1);
    EXPECT_DOUBLE_EQ(l.correctionDb, 0.0);
    EXPECT_NEAR(l.level[100], 0.0, 0.01);
    EXPECT_NEAR(l.peakFrequency, hz, 1e-3);
    EXPECT_LT(l.level[300], -100);
    // Between bins the rectangular estimate is exact for a pure tone too.
    const LevelSpectrum off = ComputeLevelSpectrum(Tone(4096, hz + 0.3 * rate / 4096, rate, 32768), rate, 32768, 0,
                                                   WindowFunction::Rectangular, 4096);
    EXPECT_NEAR(off.peakFrequency, hz + 0.3 * rate / 4096, 0.05 * rate / 4096);
    EXPECT_NEAR(off.peakLevel, 0.0, 0.3);
    // 8-bit raw bytes: full scale 128 around 128, the offset removed.
    const LevelSpectrum eight = ComputeLevelSpectrum(Tone(4096, hz, rate, 64, 128), rate, 128, 128,
                                                     WindowFunction::Rectangular, 4096);
    EXPECT_NEAR(eight.level[100], -6.02, 0.01);
    EXPECT_LT(eight.level[0], -100);
}

TEST(LevelSpectrum, ExportTextHasAudacitysColumns)
{
    const LevelSpectrum l = ComputeLevelSpectrum(Tone(1024, 1000, 8000, 16384), 8000, 32768, 0,
                                                 WindowFunction::Hann);
    const QStringList lines = LevelSpectrumText(l, 0, 100).split('\n');
    EXPECT_EQ(lines[0], "Frequency (Hz)\tLevel (dB)");
    // Bins 1..12 (7.8125 Hz apart) up to 100 Hz, then the final newline's empty line.
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[1], "7.812500\t" + QString::number(l.level[1], 'f', 6));
    EXPECT_TRUE(lines[12].startsWith("93.750000\t"));
    EXPECT_TRUE(lines[13].isEmpty());
    // The cursor's level between bins is between theirs.
    const double mid = l.LevelAt(l.binWidth * 127.5);
    EXPECT_NEAR(mid, (l.level[127] + l.level[128]) / 2, 1e-4);
    EXPECT_FALSE(ComputeLevelSpectrum(std::vector<float>(3, 1.0f), 8000, 32768, 0, WindowFunction::Hann).ok());
}
