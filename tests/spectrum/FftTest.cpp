// The fast transform against the plain loops (bit for bit, with every kernel set this processor
// can run) and against a direct DFT (accuracy).
#include "ReferenceFft.h"
#include "platform/dsp/Fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <complex>
#include <cstring>
#include <random>
#include <vector>

using spectrum::fft;
using spectrum::FftKernels;

namespace {

struct Signal {
    std::vector<float> re, im;
};

// 16-bit sample values in both parts (stereo), or in the real part only (mono).
Signal Samples(std::size_t n, bool stereo, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    Signal s{std::vector<float>(n), std::vector<float>(n, 0.0f)};
    for (std::size_t i = 0; i < n; ++i) {
        s.re[i] = float(sample(gen));
        if (stereo) s.im[i] = float(sample(gen));
    }
    return s;
}

// Values of every size and sign, so that many butterflies round.
Signal Floats(std::size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> mantissa(-1.0f, 1.0f);
    std::uniform_int_distribution<int> exponent(-20, 20);
    Signal s{std::vector<float>(n), std::vector<float>(n)};
    for (std::size_t i = 0; i < n; ++i) {
        s.re[i] = std::ldexp(mantissa(gen), exponent(gen));
        s.im[i] = std::ldexp(mantissa(gen), exponent(gen));
    }
    return s;
}

// Index of the first float whose bits differ, or -1.
long FirstDifference(const std::vector<float>& a, const std::vector<float>& b)
{
    if (a.size() != b.size()) return 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0) return long(i);
    return -1;
}

const char* Name(FftKernels kernels)
{
    switch (kernels) {
    case FftKernels::Best: return "best kernels";
    case FftKernels::Avx512: return "AVX-512 kernels";
    case FftKernels::Avx2: return "AVX2 kernels";
    case FftKernels::Portable: return "portable kernels";
    }
    return "?";
}

// Best, and each set the processor can run.
std::vector<FftKernels> KernelSets()
{
    std::vector<FftKernels> sets{FftKernels::Best};
    for (FftKernels k : {FftKernels::Avx512, FftKernels::Avx2, FftKernels::Portable})
        if (spectrum::FftKernelsAvailable(k)) sets.push_back(k);
    return sets;
}

void ExpectSameAsReference(const Signal& input, std::int32_t n)
{
    Signal expected = input;
    std::int32_t expectedN = -1;
    ReferenceFft(expected.re.data(), expected.im.data(), n, expectedN);
    for (FftKernels kernels : KernelSets()) {
        Signal got = input;
        std::int32_t gotN = -1;
        fft(got.re.data(), got.im.data(), n, gotN, kernels);
        const char* which = Name(kernels);
        EXPECT_EQ(gotN, expectedN) << which << ", n = " << n;
        EXPECT_EQ(std::memcmp(got.re.data(), expected.re.data(), got.re.size() * sizeof(float)), 0)
            << which << ", n = " << n << ": real parts differ first at "
            << FirstDifference(got.re, expected.re);
        EXPECT_EQ(std::memcmp(got.im.data(), expected.im.data(), got.im.size() * sizeof(float)), 0)
            << which << ", n = " << n << ": imaginary parts differ first at "
            << FirstDifference(got.im, expected.im);
    }
}

} // namespace

TEST(Fft, BitIdenticalToPlainLoopsForEveryPowerOfTwoUpTo2To16)
{
    for (int bits = 0; bits <= 16; ++bits) {
        const std::int32_t n = std::int32_t(1) << bits;
        ExpectSameAsReference(Samples(n, true, 100 + bits), n);
        ExpectSameAsReference(Samples(n, false, 200 + bits), n);
        ExpectSameAsReference(Floats(n, 300 + bits), n);
    }
}

TEST(Fft, BitIdenticalOnLengthsThatAreNotPowersOfTwo)
{
    // Only the first Nfft values take part; the rest must come out untouched.
    for (std::int32_t n : {3, 5, 7, 1000, 1003, 8191, 65536 + 4321}) {
        ExpectSameAsReference(Samples(std::size_t(n), true, std::uint32_t(n)), n);
        ExpectSameAsReference(Floats(std::size_t(n), std::uint32_t(n) + 1), n);
    }
}

TEST(Fft, BitIdenticalOnLargeTransforms)
{
    // Each count of stages beyond the blocks' takes a different mix of passes over the whole array.
    for (int bits = 17; bits <= 19; ++bits)
        ExpectSameAsReference(Floats(std::size_t(1) << bits, 400 + bits), std::int32_t(1) << bits);
    ExpectSameAsReference(Samples(std::size_t(1) << 20, true, 7), std::int32_t(1) << 20);
    ExpectSameAsReference(Floats(std::size_t(1) << 20, 8), std::int32_t(1) << 20);
    ExpectSameAsReference(Samples(std::size_t(1) << 21, false, 9), std::int32_t(1) << 21);
}

TEST(Fft, BitIdenticalWhereverTheArraysStart)
{
    // The kernels treat arrays that start off a vector boundary differently; real and imaginary
    // parts may also be offset from each other.
    constexpr std::int32_t n = std::int32_t(1) << 18;
    const Signal input = Floats(std::size_t(n), 21);
    Signal expected = input;
    std::int32_t Nfft = 0;
    ReferenceFft(expected.re.data(), expected.im.data(), n, Nfft);
    std::vector<float> re(std::size_t(n) + 64), im(std::size_t(n) + 64);
    for (std::size_t reAt : {0, 1, 4, 7})
        for (std::size_t imAt : {reAt, std::size_t(3)})
            for (FftKernels kernels : KernelSets()) {
                // Start both on a 64-byte boundary, then step in by the offsets.
                float* r = re.data() + (64 - std::uintptr_t(re.data()) % 64) / sizeof(float) % 16 + reAt;
                float* i = im.data() + (64 - std::uintptr_t(im.data()) % 64) / sizeof(float) % 16 + imAt;
                std::copy(input.re.begin(), input.re.end(), r);
                std::copy(input.im.begin(), input.im.end(), i);
                fft(r, i, n, Nfft, kernels);
                EXPECT_EQ(std::memcmp(r, expected.re.data(), std::size_t(n) * sizeof(float)), 0)
                    << Name(kernels) << ", real parts at " << reAt << ", imaginary at " << imAt;
                EXPECT_EQ(std::memcmp(i, expected.im.data(), std::size_t(n) * sizeof(float)), 0)
                    << Name(kernels) << ", real parts at " << reAt << ", imaginary at " << imAt;
            }
}

TEST(Fft, KernelSetsFallBackToTheNextNarrowerOne)
{
    using spectrum::ChosenFftKernels;
    using spectrum::FftKernelsAvailable;
    EXPECT_EQ(ChosenFftKernels(FftKernels::Portable), FftKernels::Portable);
    for (FftKernels k : {FftKernels::Avx512, FftKernels::Avx2})
        if (FftKernelsAvailable(k)) {
            EXPECT_EQ(ChosenFftKernels(k), k) << Name(k);
        }
    // Best is the widest available; an unavailable set never runs.
    EXPECT_EQ(ChosenFftKernels(FftKernels::Best), ChosenFftKernels(FftKernels::Avx512));
    if (!FftKernelsAvailable(FftKernels::Avx512)) {
        EXPECT_EQ(ChosenFftKernels(FftKernels::Avx512), ChosenFftKernels(FftKernels::Avx2));
    }
    if (!FftKernelsAvailable(FftKernels::Avx2)) {
        EXPECT_EQ(ChosenFftKernels(FftKernels::Avx2), FftKernels::Portable);
    }
}

TEST(Fft, LengthIsTheLargestPowerOfTwoNotAboveN)
{
    // The longest sound taken without a question: 2566000 frames, 2^21 points.
    std::vector<float> re(2566000, 1.0f), im(2566000, 0.0f);
    std::int32_t Nfft = -1;
    fft(re.data(), im.data(), 2566000, Nfft);
    EXPECT_EQ(Nfft, 2097152);
    // Nothing to transform: length 0, nothing touched.
    fft(re.data(), im.data(), 0, Nfft);
    EXPECT_EQ(Nfft, 0);
    EXPECT_EQ(re[0], 2097152.0f);
}

TEST(Fft, AgreesWithADirectDft)
{
    for (std::int32_t n : {8, 64, 512}) {
        const Signal input = Samples(std::size_t(n), true, 11);
        Signal got = input;
        std::int32_t Nfft = 0;
        fft(got.re.data(), got.im.data(), n, Nfft);
        double largestError = 0.0, largestValue = 0.0;
        for (std::int32_t k = 0; k < n; ++k) {
            std::complex<long double> sum = 0;
            for (std::int32_t t = 0; t < n; ++t) {
                const long double angle = -2.0L * 3.14159265358979323846264338327950288L *
                                          (long double)(std::int64_t(k) * t % n) / n;
                sum += std::complex<long double>(input.re[t], input.im[t]) *
                       std::complex<long double>(std::cos(angle), std::sin(angle));
            }
            largestError = std::max(largestError, double(std::abs(
                sum - std::complex<long double>(got.re[k], got.im[k]))));
            largestValue = std::max(largestValue, double(std::abs(sum)));
        }
        // Single-precision storage: errors of a few units in the 7th digit of the largest value.
        EXPECT_LT(largestError, largestValue * 1e-6 * std::log2(double(n))) << "n = " << n;
    }
}
