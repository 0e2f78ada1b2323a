// The spectrum of known signals: lengths, bins, magnitudes, the forced bin 0, the error case.
#include "spectrum/SpectrumComputation.h"
#include "platform/dsp/Fft.h"

#include "support/WavFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <complex>
#include <random>
#include <vector>

using spectrum::SpectrumComputation;
using spectrum::SpectrumError;
using spectrum::SpectrumResult;

namespace {

std::vector<float> Floats(const std::vector<int>& samples)
{
    return std::vector<float>(samples.begin(), samples.end());
}

// Left and right samples of interleaved stereo frames.
void Split(const std::vector<int>& frames, std::vector<float>& left, std::vector<float>& right)
{
    for (std::size_t i = 0; i + 1 < frames.size(); i += 2) {
        left.push_back(float(frames[i]));
        right.push_back(float(frames[i + 1]));
    }
}

SpectrumResult Mono(const std::vector<float>& samples, std::int32_t frames, std::int32_t rate = 44100)
{
    return SpectrumComputation::Compute(samples, std::vector<float>(samples.size(), 0.0f), frames, rate);
}

} // namespace

TEST(SpectrumComputation, LengthsAndBinsFollowTheFrameCount)
{
    struct Case {
        std::int32_t frames, Nfft;
    };
    for (Case c : {Case{1024, 1024}, Case{1000, 512}, Case{1001, 512}, Case{1002, 512},
                   Case{1003, 512}, Case{4, 4}, Case{5, 4}, Case{6, 4}, Case{7, 4}, Case{8, 8},
                   Case{11, 8}}) {
        const SpectrumResult r = Mono(std::vector<float>(std::size_t(c.frames), 1.0f), c.frames, 44100);
        ASSERT_TRUE(r.ok()) << c.frames << " frames";
        EXPECT_EQ(r.Nfft, c.Nfft) << c.frames << " frames";
        EXPECT_EQ(r.ndata, c.Nfft / 4) << c.frames << " frames";
        EXPECT_EQ(r.xdata.size(), std::size_t(c.Nfft) + 1);
        EXPECT_EQ(r.ydata.size(), std::size_t(c.Nfft) + 1);
        EXPECT_EQ(r.xinit, 0.0f);
        EXPECT_EQ(r.yinit, 0.0f);
        EXPECT_FLOAT_EQ(r.xfinal, 44100.0f / 4) << c.frames << " frames";
        EXPECT_EQ(r.xdata[0], 0.0f);
        EXPECT_EQ(r.ydata[0], 0.0f);
        for (std::int32_t i = 1; i < r.Nfft; ++i)
            EXPECT_FLOAT_EQ(r.xdata[std::size_t(i)], float(44100.0 / c.Nfft * i));
    }
}

TEST(SpectrumComputation, OnlyTheFirstNfftFramesCount)
{
    // 1003 frames: L = 1000, Nfft = 512; what follows frame 511 must not matter.
    std::mt19937 gen(5);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    std::vector<float> a(1003), b;
    for (float& v : a) v = float(sample(gen));
    b = a;
    for (std::size_t i = 512; i < b.size(); ++i) b[i] = 12345.0f;
    const SpectrumResult ra = Mono(a, 1003), rb = Mono(b, 1003);
    ASSERT_TRUE(ra.ok());
    EXPECT_EQ(ra.Nfft, 512);
    EXPECT_EQ(ra.ydata, rb.ydata);
}

TEST(SpectrumComputation, FewerThanFourFramesIsAnError)
{
    for (std::int32_t frames : {0, 1, 2, 3, -4}) {
        const SpectrumResult r = Mono(std::vector<float>(8, 100.0f), frames);
        EXPECT_FALSE(r.ok()) << frames << " frames";
        EXPECT_EQ(r.error, SpectrumError::TooFewFrames);
        EXPECT_EQ(r.errorNumber, EDOM);
        EXPECT_EQ(r.Nfft, 0);
        EXPECT_TRUE(r.ydata.empty());
    }
}

TEST(SpectrumComputation, ArraysShorterThanTheFramesAreAnError)
{
    const SpectrumResult r = SpectrumComputation::Compute(std::vector<float>(7, 1.0f),
                                                          std::vector<float>(8, 0.0f), 8, 8000);
    EXPECT_EQ(r.error, SpectrumError::ArraysTooShort);
    EXPECT_EQ(r.errorNumber, EINVAL);
    const SpectrumResult s = SpectrumComputation::Compute(std::vector<float>(8, 1.0f),
                                                          std::vector<float>(5, 0.0f), 8, 8000);
    EXPECT_EQ(s.error, SpectrumError::ArraysTooShort);
}

TEST(SpectrumComputation, SineOnABinGivesHalfItsAmplitude)
{
    // 16-bit mono, 1024 frames at 8000 Hz, amplitude 10000 on bin 37.
    const int rate = 8000, frames = 1024, k = 37;
    const double amplitude = 10000.0;
    const SpectrumResult r = Mono(Floats(Sine(frames, 1, double(k) * rate / frames, amplitude, rate, 16)),
                                  frames, rate);
    ASSERT_TRUE(r.ok());
    EXPECT_NEAR(r.ydata[k], amplitude / 2, 0.05);
    EXPECT_FLOAT_EQ(r.xdata[k], float(k * 8000.0 / 1024));
    for (std::int32_t i = 1; i < r.Nfft; ++i)
        if (i != k && i != r.Nfft - k) {
            EXPECT_LT(r.ydata[std::size_t(i)], 0.1) << "bin " << i;
        }
    // The peak (the vertical range's top) is the sine's bin or its mirror image.
    EXPECT_EQ(r.yfinal, r.peak);
    EXPECT_EQ(r.peak, std::max(r.ydata[k], r.ydata[std::size_t(r.Nfft - k)]));
}

TEST(SpectrumComputation, IdenticalStereoChannelsGiveRootTwoTimesMono)
{
    const std::vector<int> frames = Sine(2048, 2, 1234.5, 8000.0, 44100, 16);
    std::vector<float> left, right;
    Split(frames, left, right);
    const SpectrumResult mono = Mono(left, 2048);
    const SpectrumResult stereo = SpectrumComputation::Compute(left, right, 2048, 44100);
    ASSERT_TRUE(stereo.ok());
    ASSERT_EQ(stereo.Nfft, mono.Nfft);
    for (std::int32_t i = 1; i < mono.Nfft; ++i)
        EXPECT_NEAR(stereo.ydata[std::size_t(i)], std::sqrt(2.0) * mono.ydata[std::size_t(i)],
                    1e-5 * mono.peak + 1e-4)
            << "bin " << i;
}

TEST(SpectrumComputation, ConstantEightBitSoundGivesAllZeros)
{
    // 8-bit samples are taken as 0..255: a silent 8-bit file is a constant 128.
    for (bool stereo : {false, true}) {
        const std::vector<float> samples(4000, 128.0f);
        const SpectrumResult r = SpectrumComputation::Compute(
            samples, stereo ? samples : std::vector<float>(), 4000, 11025);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.Nfft, 2048);
        for (float y : r.ydata) EXPECT_EQ(y, 0.0f);
        EXPECT_EQ(r.peak, 0.0f);
        EXPECT_EQ(r.yfinal, 0.0f);
    }
}

TEST(SpectrumComputation, EmptySecondArrayMeansMono)
{
    const std::vector<float> samples = Floats(Sine(512, 1, 440.0, 3000.0, 22050, 16));
    const SpectrumResult a = Mono(samples, 512, 22050);
    const SpectrumResult b = SpectrumComputation::Compute(samples, {}, 512, 22050);
    EXPECT_EQ(a.ydata, b.ydata);
}

TEST(SpectrumComputation, PeakLooksAtEveryBinNotOnlyTheQuarterDrawn)
{
    // Left = cos, right = −sin: one complex tone at a negative frequency, i.e. in bin N − k.
    const std::int32_t n = 256, k = 5;
    std::vector<float> left(n), right(n);
    for (std::int32_t t = 0; t < n; ++t) {
        const double a = 2 * M_PI * k * t / n;
        left[std::size_t(t)] = float(std::round(1000 * std::cos(a)));
        right[std::size_t(t)] = float(std::round(-1000 * std::sin(a)));
    }
    const SpectrumResult r = SpectrumComputation::Compute(left, right, n, 1000);
    ASSERT_TRUE(r.ok());
    EXPECT_NEAR(r.ydata[std::size_t(n - k)], 1000.0, 0.5);
    EXPECT_LT(r.ydata[k], 1.0);
    EXPECT_EQ(r.peak, r.ydata[std::size_t(n - k)]);
}

TEST(SpectrumComputation, MagnitudesAgreeWithADirectDft)
{
    std::mt19937 gen(17);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    for (std::int32_t frames : {4, 8, 16, 64, 130}) {
        std::vector<float> left(static_cast<std::size_t>(frames)), right(left.size());
        for (std::size_t i = 0; i < left.size(); ++i) {
            left[i] = float(sample(gen));
            right[i] = float(sample(gen));
        }
        const SpectrumResult r = SpectrumComputation::Compute(left, right, frames, 48000);
        ASSERT_TRUE(r.ok());
        const std::int32_t n = r.Nfft;
        for (std::int32_t k = 1; k < n; ++k) {
            std::complex<long double> sum = 0;
            for (std::int32_t t = 0; t < n; ++t) {
                const long double angle = -2 * 3.14159265358979323846264338327950288L *
                                          (long double)(std::int64_t(k) * t % n) / n;
                sum += std::complex<long double>(left[std::size_t(t)], right[std::size_t(t)]) *
                       std::complex<long double>(std::cos(angle), std::sin(angle));
            }
            const double expected = double(std::abs(sum)) / n;
            EXPECT_NEAR(r.ydata[std::size_t(k)], expected, 1e-3 + 1e-6 * expected)
                << frames << " frames, bin " << k;
        }
    }
}

TEST(SpectrumComputation, BinsAreTheRootOfTheSquaresInDoubleToTheLastBit)
{
    // Whatever vector width the bins are worked out at, each is the plain loop's value: the
    // transform's output squared and summed in double, its root scaled by 1/Nfft, rounded once
    // to single; the frequency bin × rate / Nfft; the peak the largest of them. Lengths where
    // the wide steps, the narrow steps and the single bins each take a share.
    std::mt19937 gen(23);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    for (const std::int32_t frames : {4, 8, 16, 24, 64, 4096}) {
        std::vector<float> left(std::size_t(frames) + 1), right(left.size());
        for (std::size_t i = 0; i < left.size(); ++i) {
            left[i] = float(sample(gen));
            right[i] = float(sample(gen));
        }
        std::vector<float> re = left, im = right;
        std::int32_t Nfft = 0;
        spectrum::fft(re.data(), im.data(), frames, Nfft);
        const SpectrumResult r = SpectrumComputation::Compute(left, right, frames, 44100);
        ASSERT_TRUE(r.ok());
        ASSERT_EQ(r.Nfft, Nfft);
        float peak = 0.0f;
        for (std::int32_t k = 1; k < Nfft; ++k) {
            const double a = re[std::size_t(k)], b = im[std::size_t(k)];
            const float magnitude = float(std::sqrt(a * a + b * b) * (1.0 / Nfft));
            ASSERT_EQ(r.ydata[std::size_t(k)], magnitude) << frames << " frames, bin " << k;
            ASSERT_EQ(r.xdata[std::size_t(k)], float(44100.0 / Nfft * k)) << frames << " frames, bin " << k;
            peak = std::max(peak, magnitude);
        }
        EXPECT_EQ(r.peak, peak) << frames;
    }
}
