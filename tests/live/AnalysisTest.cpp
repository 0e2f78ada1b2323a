// The live tool's analysis on generated sounds: trigger, spectrum lines and peaks, the
// autocorrelation fundamental, levels and the stopwatch.
#include "live/Fundamental.h"
#include "live/LiveSpectrum.h"
#include "live/OnsetStopwatch.h"
#include "live/ScopeTrigger.h"
#include "live/SoundLevel.h"
#include "live/WindowFunction.h"
#include "LiveSignals.h"

#include <complex>
#include <gtest/gtest.h>

using namespace live;

namespace {
constexpr double kRate = 44100;
const WindowShape kShapes[] = {WindowShape::Hann, WindowShape::Rectangular, WindowShape::Hamming,
                               WindowShape::BlackmanHarris};

// The phase (0..1 of a cycle) of sin(2π·hz·t/rate + phase0) at sample position t.
double CyclePhase(double t, double hz, double rate, double phase0 = 0)
{
    const double p = hz * t / rate + phase0 / (2 * std::numbers::pi);
    return p - std::floor(p);
}
}

TEST(ScopeTrigger, SuccessiveSweepsOfASineStartAtTheSamePhase)
{
    // 440 Hz at 44.1 kHz: 100.23 samples a cycle, so each sweep's crossing falls elsewhere
    // between two samples.
    const double hz = 440;
    const std::vector<float> x = SineWave(int(kRate), hz, kRate, 0.8, 0.3);
    for (double level : {0.0, 0.5, -0.4}) {
        for (TriggerEdge edge : {TriggerEdge::Rising, TriggerEdge::Falling}) {
            TriggerSettings s{edge, level, 0.02};
            const double expected = edge == TriggerEdge::Rising ? std::asin(level / 0.8) : std::numbers::pi - std::asin(level / 0.8);
            const double want = CyclePhase(0, 1, 1, expected);
            int sweeps = 0;
            for (std::int64_t from = 500; from + 600 < std::int64_t(x.size()); from += 733) {
                const auto t = FindTrigger(x.data(), std::int64_t(x.size()), from, from + 300, s);
                ASSERT_TRUE(t) << from;
                EXPECT_GE(*t, from - 1.0);
                EXPECT_LT(*t, from + 300.0);
                double d = CyclePhase(*t, hz, kRate, 0.3) - want;
                d -= std::round(d);
                // within one sample of the same phase (in fact far closer)
                EXPECT_LT(std::abs(d) * kRate / hz, 0.05) << "level " << level << " at " << *t;
                ++sweeps;
            }
            EXPECT_GT(sweeps, 50);
        }
    }
}

TEST(ScopeTrigger, NoiseOnAnEdgeTriggersOnceAndNoCrossingGivesNothing)
{
    // A slow 50 Hz wave with noise: without hysteresis the noise would cross the level several
    // times per edge; with it, crossings are a whole cycle apart.
    std::vector<float> x = SineWave(int(kRate / 2), 50, kRate, 0.5);
    AddNoise(x, 0.01);
    TriggerSettings s{TriggerEdge::Rising, 0.1, 0.05};
    std::vector<double> found;
    for (std::int64_t from = 1; from < std::int64_t(x.size()); from += 200) {
        const auto t = FindTrigger(x.data(), std::int64_t(x.size()), from, from + 200, s);
        if (t && (found.empty() || *t > found.back() + 0.5)) found.push_back(*t);
    }
    ASSERT_GE(found.size(), 20u);
    for (std::size_t i = 1; i < found.size(); ++i) EXPECT_NEAR(found[i] - found[i - 1], kRate / 50, 20) << i;

    const std::vector<float> quiet(4000, 0.05f);
    EXPECT_FALSE(FindTrigger(quiet.data(), 4000, 1, 4000, s));
    EXPECT_FALSE(FindTrigger(x.data(), std::int64_t(x.size()), 10, 5, s));   // empty range
}

TEST(LiveSpectrum, LinesAgreeWithADirectTransform)
{
    const int n = 1024;
    std::vector<float> x = SineWave(n, 3000, kRate, 0.3);
    AddNoise(x, 0.2, 11);
    for (WindowShape shape : kShapes) {
        const LiveSpectrum s = ComputeSpectrum(x.data(), n, kRate, shape);
        ASSERT_EQ(s.amplitude.size(), std::size_t(n / 2 + 1));
        EXPECT_DOUBLE_EQ(s.binHz, kRate / n);
        const std::vector<float> w = WindowCoefficients(shape, n);
        for (int k : {0, 1, 70, 200, 511, 512}) {
            std::complex<double> sum = 0;
            for (int i = 0; i < n; ++i) sum += double(x[std::size_t(i)] * w[std::size_t(i)]) * std::polar(1.0, -2 * std::numbers::pi * k * i / n);
            double expected = std::abs(sum) * 2 / (n * CoherentGain(shape));
            if (k == 0 || k == n / 2) expected /= 2;
            EXPECT_NEAR(s.amplitude[std::size_t(k)], expected, 1e-4 + 1e-4 * expected) << int(shape) << " line " << k;
        }
    }
}

TEST(LiveSpectrum, FullScaleSineReadsZeroDbfsWithTheCoherentGainCorrected)
{
    const int n = 4096;
    for (WindowShape shape : kShapes) {
        // On a line: the line itself; between lines: the interpolated peak.
        const double onLine = 93 * kRate / n, between = 93.37 * kRate / n;
        std::vector<float> x = SineWave(n, onLine, kRate, 1.0);
        LiveSpectrum s = ComputeSpectrum(x.data(), n, kRate, shape);
        EXPECT_NEAR(AmplitudeDb(s.amplitude[93]), 0, 0.1) << int(shape);
        x = SineWave(n, between, kRate, 1.0, 1.0);
        s = ComputeSpectrum(x.data(), n, kRate, shape);
        const SpectralPeak p = StrongestPeak(s, shape, 20, kRate / 2);
        ASSERT_TRUE(p.found);
        EXPECT_NEAR(AmplitudeDb(p.amplitude), 0, 0.1) << int(shape);
        // A sine at half scale: -6.02 dB.
        x = SineWave(n, between, kRate, 0.5);
        s = ComputeSpectrum(x.data(), n, kRate, shape);
        EXPECT_NEAR(AmplitudeDb(StrongestPeak(s, shape, 20, kRate / 2).amplitude), -6.02, 0.1) << int(shape);
    }
    EXPECT_NEAR(CoherentGain(WindowShape::Hann), 0.5, 1e-12);
    EXPECT_NEAR(std::abs(ShapeResponse(WindowShape::Hann, 0.5)), 0.8488, 1e-3);   // -1.42 dB scalloping
    EXPECT_EQ(AmplitudeDb(0), MinimumDb);
}

TEST(LiveSpectrum, PeakFrequencyWithin5HundredthsOfAHertzAt16384Points)
{
    const int n = 16384;   // lines 2.69 Hz apart
    for (double hz : {440.0, 1000.0, 3520.0, 441.3, 997.77}) {
        for (WindowShape shape : kShapes) {
            for (double phase : {0.0, 1.1, 2.5}) {
                std::vector<float> x = SineWave(n, hz, kRate, 0.7, phase);
                AddNoise(x, 0.001, unsigned(hz));
                const SpectralPeak p = StrongestPeak(ComputeSpectrum(x.data(), n, kRate, shape), shape, 20, kRate / 2);
                ASSERT_TRUE(p.found);
                EXPECT_NEAR(p.frequency, hz, 0.05) << int(shape) << " phase " << phase;
            }
        }
    }
    // At 48 kHz too, and a 1024-point transform of 1000 Hz still within a tenth of a line.
    std::vector<float> x = SineWave(n, 3520, 48000);
    EXPECT_NEAR(StrongestPeak(ComputeSpectrum(x.data(), n, 48000, WindowShape::Hann), WindowShape::Hann, 20, 24000).frequency, 3520, 0.05);
    x = SineWave(1024, 1000, kRate);
    EXPECT_NEAR(StrongestPeak(ComputeSpectrum(x.data(), 1024, kRate, WindowShape::Hann), WindowShape::Hann, 20, 22050).frequency, 1000, 4.3);
}

TEST(LiveSpectrum, PeakSearchKeepsToItsRangeAndSilenceHasNoPeak)
{
    const int n = 8192;
    std::vector<float> x = SineWave(n, 200, kRate, 0.9);
    const std::vector<float> y = SineWave(n, 2000, kRate, 0.1);
    for (int i = 0; i < n; ++i) x[std::size_t(i)] += y[std::size_t(i)];
    const LiveSpectrum s = ComputeSpectrum(x.data(), n, kRate, WindowShape::Hann);
    EXPECT_NEAR(StrongestPeak(s, WindowShape::Hann, 20, kRate / 2).frequency, 200, 0.1);
    EXPECT_NEAR(StrongestPeak(s, WindowShape::Hann, 1000, kRate / 2).frequency, 2000, 0.1);
    const std::vector<float> silence(std::size_t(n), 0.0f);
    EXPECT_FALSE(StrongestPeak(ComputeSpectrum(silence.data(), n, kRate, WindowShape::Hann), WindowShape::Hann, 20, 22050).found);
    // A constant offset is DC, never a peak.
    const std::vector<float> offset(std::size_t(n), 0.5f);
    EXPECT_FALSE(StrongestPeak(ComputeSpectrum(offset.data(), n, kRate, WindowShape::Rectangular), WindowShape::Rectangular, 0, 22050).found);
}

TEST(Fundamental, NotesWithStrongHarmonicsReadTheirFundamental)
{
    const int n = 4096;
    // A sawtooth: every harmonic, the second at half the fundamental's amplitude.
    std::vector<float> saw = Sawtooth(n, 220, kRate);
    FundamentalReading f = FindFundamental(saw.data(), n, kRate);
    ASSERT_TRUE(f.found);
    EXPECT_NEAR(f.frequency, 220, 0.2);
    EXPECT_GT(f.clarity, 0.9);
    // A weak fundamental under strong second and third harmonics still reads 220, not 440/660.
    std::vector<float> x(std::size_t(n), 0.0f);
    for (auto [k, a] : {std::pair{1, 0.2}, {2, 0.6}, {3, 0.5}}) {
        const std::vector<float> h = SineWave(n, 220.0 * k, kRate, a, k);
        for (int i = 0; i < n; ++i) x[std::size_t(i)] += h[std::size_t(i)];
    }
    f = FindFundamental(x.data(), n, kRate);
    ASSERT_TRUE(f.found);
    EXPECT_NEAR(f.frequency, 220, 0.2);
    for (double hz : {82.41, 440.0, 1046.5}) {
        std::vector<float> s = Sawtooth(n, hz, kRate, 0.3);
        AddNoise(s, 0.02);
        f = FindFundamental(s.data(), n, kRate);
        ASSERT_TRUE(f.found) << hz;
        EXPECT_NEAR(f.frequency, hz, hz * 0.002) << hz;
    }
}

TEST(Fundamental, NoiseAndSilenceHaveNone)
{
    std::vector<float> noise(4096, 0.0f);
    AddNoise(noise, 0.5, 3);
    EXPECT_FALSE(FindFundamental(noise.data(), 4096, kRate).found);
    const std::vector<float> silence(4096, 0.0f);
    EXPECT_FALSE(FindFundamental(silence.data(), 4096, kRate).found);
    EXPECT_FALSE(FindFundamental(silence.data(), 8, kRate).found);
}

TEST(SoundLevel, FullScaleSineClipsAtZeroDbfsAndHalfScaleDoesNot)
{
    const std::vector<std::int16_t> full = ToPcm(SineWave(44100, 1000, kRate, 1.0));
    SoundLevel l = MeasureLevel(full.data(), std::int64_t(full.size()));
    EXPECT_NEAR(l.peakDb, 0, 0.01);
    EXPECT_NEAR(l.rmsDb, -3.01, 0.02);
    EXPECT_TRUE(l.clipped);
    const std::vector<std::int16_t> half = ToPcm(SineWave(44100, 1000, kRate, 0.5));
    l = MeasureLevel(half.data(), std::int64_t(half.size()));
    EXPECT_NEAR(l.peakDb, -6.02, 0.01);
    EXPECT_NEAR(l.rmsDb, -9.03, 0.02);
    EXPECT_FALSE(l.clipped);
    const std::int16_t lowest[] = {0, -32768, 5};
    EXPECT_TRUE(MeasureLevel(lowest, 3).clipped);
    EXPECT_EQ(MeasureLevel(lowest, 0).rmsDb, MinimumDb);
}

namespace {
// Quiet noise with two short decaying clicks at the given seconds.
std::vector<std::int16_t> TwoClicks(double first, double second, double seconds)
{
    std::vector<float> x(std::size_t(seconds * kRate), 0.0f);
    AddNoise(x, 0.005, 5);
    for (double at : {first, second}) {
        const std::size_t start = std::size_t(std::llround(at * kRate));
        for (std::size_t i = 0; i < 1500 && start + i < x.size(); ++i)
            x[start + i] += float(0.8 * std::exp(-double(i) / 300) * std::sin(2 * std::numbers::pi * 2500 * double(i) / kRate + 1.2));
    }
    return ToPcm(x);
}
}

TEST(OnsetStopwatch, TwoClicksHalfASecondApartRead22050SamplesFedInAnyPieces)
{
    const std::vector<std::int16_t> s = TwoClicks(0.3, 0.8, 1.5);
    for (std::int64_t piece : {std::int64_t(1), std::int64_t(997), std::int64_t(4096), std::int64_t(s.size())}) {
        OnsetStopwatch w;
        w.configure(0.1, std::int64_t(0.05 * kRate));   // -20 dBFS, 50 ms dead time
        for (std::int64_t at = 0; at < std::int64_t(s.size()); at += piece)
            w.feed(s.data() + at, std::min(piece, std::int64_t(s.size()) - at));
        ASSERT_EQ(w.state(), OnsetStopwatch::State::Stopped) << piece;
        EXPECT_NEAR(double(w.elapsedSamples()), 0.5 * kRate, 1) << piece;
        EXPECT_NEAR(double(w.elapsedSamples()) / kRate, 0.5, 1 / kRate);
        EXPECT_NEAR(double(w.startSample()), 0.3 * kRate, 1);
    }
}

TEST(OnsetStopwatch, RingingDoesNotStopItQuietDoesNotStartItAndResetRearms)
{
    // Without a dead time the first click's own ringing stops the watch at once.
    const std::vector<std::int16_t> s = TwoClicks(0.3, 0.8, 1.5);
    OnsetStopwatch w;
    w.configure(0.1, 0);
    w.feed(s.data(), std::int64_t(s.size()));
    EXPECT_LT(w.elapsedSamples(), 100);

    w.configure(0.5, 2205);
    w.reset();
    const std::vector<std::int16_t> quiet = ToPcm(SineWave(44100, 300, kRate, 0.3));
    w.feed(quiet.data(), std::int64_t(quiet.size()));
    EXPECT_EQ(w.state(), OnsetStopwatch::State::Armed);
    EXPECT_EQ(w.elapsedSamples(), 0);

    w.configure(0.1, 2205);
    w.feed(s.data(), 20000);   // the first click: running, counting on
    EXPECT_EQ(w.state(), OnsetStopwatch::State::Running);
    EXPECT_EQ(w.elapsedSamples(), 20000 - std::int64_t(std::llround(0.3 * kRate)));
    w.feed(s.data() + 20000, std::int64_t(s.size()) - 20000);
    EXPECT_EQ(w.state(), OnsetStopwatch::State::Stopped);
    const std::int64_t read = w.elapsedSamples();
    w.feed(s.data(), std::int64_t(s.size()));   // more clicks after the stop change nothing
    EXPECT_EQ(w.elapsedSamples(), read);
    w.reset();
    EXPECT_EQ(w.state(), OnsetStopwatch::State::Armed);
    w.feed(s.data(), std::int64_t(s.size()));
    EXPECT_NEAR(double(w.elapsedSamples()), 0.5 * kRate, 1);
}
