// Times KIVRA's spectrum transform on 2^21 points beside FFTW's single-precision transform
// (FFTW_ESTIMATE plan, in place, planning not timed) and beside the plain three-loop transform,
// all in the same run on the same stereo 16-bit samples. Goal: at most 1.5 times FFTW's time.
#include "platform/dsp/Fft.h"
#include "spectrum/ReferenceFft.h"

#include <fftw3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main()
{
    constexpr int kBits = 21;
    constexpr std::int32_t n = std::int32_t(1) << kBits;
    constexpr int kRuns = 11;

    std::mt19937 gen(2024);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    std::vector<float> left(n), right(n);
    for (std::int32_t i = 0; i < n; ++i) {
        left[std::size_t(i)] = float(sample(gen));
        right[std::size_t(i)] = float(sample(gen));
    }

    // Runs alternate between the transforms so that all see the same machine load. Input is
    // refilled before each run (not timed); all transforms work in place.
    std::vector<float> re(n), im(n);
    auto* data = static_cast<fftwf_complex*>(fftwf_malloc(sizeof(fftwf_complex) * std::size_t(n)));
    const auto p0 = Clock::now();
    fftwf_plan plan = fftwf_plan_dft_1d(n, data, data, FFTW_FORWARD, FFTW_ESTIMATE);
    const double planMs = Milliseconds(p0, Clock::now());
    std::vector<double> ours, portable, theirs;
    std::int32_t Nfft = 0;
    for (int r = 0; r < kRuns; ++r) {
        re = left;
        im = right;
        auto t0 = Clock::now();
        spectrum::fft(re.data(), im.data(), n, Nfft);
        ours.push_back(Milliseconds(t0, Clock::now()));

        re = left;
        im = right;
        t0 = Clock::now();
        spectrum::fft(re.data(), im.data(), n, Nfft, spectrum::FftKernels::Portable);
        portable.push_back(Milliseconds(t0, Clock::now()));

        for (std::int32_t i = 0; i < n; ++i) {
            data[i][0] = left[std::size_t(i)];
            data[i][1] = right[std::size_t(i)];
        }
        t0 = Clock::now();
        fftwf_execute(plan);
        theirs.push_back(Milliseconds(t0, Clock::now()));
    }

    // KIVRA's result (the last run's) must agree with FFTW's to single precision.
    const std::vector<float> oursRe = re, oursIm = im;
    double largestDifference = 0.0, largestValue = 0.0;
    for (std::int32_t k = 0; k < n; ++k) {
        const std::complex<double> a(re[std::size_t(k)], im[std::size_t(k)]), b(data[k][0], data[k][1]);
        largestDifference = std::max(largestDifference, std::abs(a - b));
        largestValue = std::max(largestValue, std::abs(b));
    }
    fftwf_destroy_plan(plan);
    fftwf_free(data);

    // The plain loops, for reference (slow: a few runs only).
    std::vector<double> plain;
    for (int r = 0; r < 3; ++r) {
        re = left;
        im = right;
        const auto t0 = Clock::now();
        ReferenceFft(re.data(), im.data(), n, Nfft);
        plain.push_back(Milliseconds(t0, Clock::now()));
    }
    const bool identical =
        std::memcmp(re.data(), oursRe.data(), re.size() * sizeof(float)) == 0 &&
        std::memcmp(im.data(), oursIm.data(), im.size() * sizeof(float)) == 0;

    const double oursMs = Median(ours), theirsMs = Median(theirs), plainMs = Median(plain);
    std::printf("Complex transform of 2^%d = %d points (stereo 16-bit samples), median of %d runs\n",
                kBits, n, kRuns);
    std::printf("  KIVRA fft                         %8.2f ms (best %.2f)\n", oursMs,
                *std::min_element(ours.begin(), ours.end()));
    std::printf("  KIVRA fft, baseline SSE2 kernels  %8.2f ms (for processors without AVX2)\n",
                Median(portable));
    std::printf("  FFTW fftwf, estimate, in place    %8.2f ms (best %.2f; plan %.2f ms, not timed)\n",
                theirsMs, *std::min_element(theirs.begin(), theirs.end()), planMs);
    std::printf("  ratio KIVRA / FFTW                %8.2f (goal: at most 1.50) %s\n",
                oursMs / theirsMs, oursMs / theirsMs <= 1.5 ? "met" : "NOT MET");
    std::printf("  plain three-loop transform        %8.2f ms (%.1f times KIVRA fft; results %s)\n",
                plainMs, plainMs / oursMs, identical ? "bit-identical" : "DIFFERENT");
    std::printf("  largest difference from FFTW      %8.2e of the largest value\n",
                largestDifference / largestValue);
    return 0;
}
