#include "spectrum/SpectrumComputation.h"

#include "platform/dsp/Fft.h"

#include <cerrno>
#include <cmath>
#include <new>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace spectrum {

namespace {

SpectrumResult Failure(SpectrumError error, int number)
{
    SpectrumResult r;
    r.error = error;
    r.errorNumber = number;
    return r;
}

// Bins 1 … Nfft − 1: frequencies, magnitudes (in double, as the header says) and their largest,
// in one pass. Nfft is a power of two, so dividing by it and multiplying by its reciprocal give
// the same bits; the vector loop gives the same bits as the plain one.
#if defined(__x86_64__)
// Four magnitudes: the root of the sum of the squares in double, scaled, back to single.
__attribute__((target("avx2"))) inline __m128 Magnitudes4(__m128 r, __m128 m, __m256d by)
{
    const __m256d rd = _mm256_cvtps_pd(r), md = _mm256_cvtps_pd(m);
    return _mm256_cvtpd_ps(_mm256_mul_pd(_mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(rd, rd), _mm256_mul_pd(md, md))), by));
}

// Eight bins a step where the processor has AVX2 (no fused multiply-add: the squares are rounded
// before they are added, as in the plain loop). Returns the first bin it left, from `i` on, and
// raises `peak` to the largest magnitude it wrote.
__attribute__((target("avx2"))) std::int32_t MagnitudesAvx2(const float* re, const float* im, std::int32_t i,
                                                            std::int32_t Nfft, double binWidth, double scale,
                                                            float* x, float* y, float& peak)
{
    const __m256d width = _mm256_set1_pd(binWidth), by = _mm256_set1_pd(scale), four = _mm256_set1_pd(4.0);
    __m256d bin = _mm256_set_pd(double(i + 3), double(i + 2), double(i + 1), double(i));
    __m256 peaks = _mm256_setzero_ps();
    for (; i + 8 <= Nfft; i += 8) {
        const __m256 r = _mm256_loadu_ps(re + i), m = _mm256_loadu_ps(im + i);
        const __m256 magnitude = _mm256_set_m128(Magnitudes4(_mm256_extractf128_ps(r, 1), _mm256_extractf128_ps(m, 1), by),
                                                 Magnitudes4(_mm256_castps256_ps128(r), _mm256_castps256_ps128(m), by));
        _mm256_storeu_ps(y + i, magnitude);
        // max(a, b) is a > b ? a : b, lane by lane: the running maximum of the plain loop.
        peaks = _mm256_max_ps(magnitude, peaks);
        const __m256d next = _mm256_add_pd(bin, four);
        _mm256_storeu_ps(x + i, _mm256_set_m128(_mm256_cvtpd_ps(_mm256_mul_pd(width, next)),
                                                _mm256_cvtpd_ps(_mm256_mul_pd(width, bin))));
        bin = _mm256_add_pd(next, four);
    }
    alignas(32) float lanes[8];
    _mm256_store_ps(lanes, peaks);
    for (float p : lanes)
        if (p > peak) peak = p;
    return i;
}
#endif

float Magnitudes(const float* re, const float* im, std::int32_t Nfft, double binWidth, float* x, float* y)
{
    const double scale = 1.0 / Nfft;
    float peak = 0.0f;
    std::int32_t i = 1;
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) i = MagnitudesAvx2(re, im, i, Nfft, binWidth, scale, x, y, peak);
#endif
#if defined(__SSE2__)
    const __m128d width = _mm_set1_pd(binWidth), by = _mm_set1_pd(scale);
    __m128 peaks = _mm_setzero_ps();
    for (; i + 4 <= Nfft; i += 4) {
        const __m128 r = _mm_loadu_ps(re + i), m = _mm_loadu_ps(im + i);
        const __m128d rLow = _mm_cvtps_pd(r), rHigh = _mm_cvtps_pd(_mm_movehl_ps(r, r));
        const __m128d mLow = _mm_cvtps_pd(m), mHigh = _mm_cvtps_pd(_mm_movehl_ps(m, m));
        const __m128d low = _mm_mul_pd(_mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(rLow, rLow), _mm_mul_pd(mLow, mLow))), by);
        const __m128d high = _mm_mul_pd(_mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(rHigh, rHigh), _mm_mul_pd(mHigh, mHigh))), by);
        const __m128 magnitude = _mm_movelh_ps(_mm_cvtpd_ps(low), _mm_cvtpd_ps(high));
        _mm_storeu_ps(y + i, magnitude);
        // max(a, b) is a > b ? a : b, lane by lane: the running maximum of the plain loop.
        peaks = _mm_max_ps(magnitude, peaks);
        const __m128d bin = _mm_set_pd(double(i + 1), double(i));
        const __m128d two = _mm_set1_pd(2.0);
        const __m128 frequency = _mm_movelh_ps(_mm_cvtpd_ps(_mm_mul_pd(width, bin)),
                                               _mm_cvtpd_ps(_mm_mul_pd(width, _mm_add_pd(bin, two))));
        _mm_storeu_ps(x + i, frequency);
    }
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, peaks);
    for (float p : lanes)
        if (p > peak) peak = p;
#endif
    for (; i < Nfft; ++i) {
        const double r = re[i], m = im[i];
        x[i] = float(binWidth * i);
        y[i] = float(std::sqrt(r * r + m * m) * scale);
        if (y[i] > peak) peak = y[i];
    }
    return peak;
}

// The transform and the bins, into r (whose arrays keep their memory from an earlier use).
// REX and IMX hold at least L ≥ 4 values.
void Run(float* REX, float* IMX, std::int32_t L, std::int32_t sampleRate, SpectrumResult& r)
{
    fft(REX, IMX, L, r.Nfft);
    r.xdata.resize(std::size_t(r.Nfft) + 1);
    r.ydata.resize(std::size_t(r.Nfft) + 1);
    const double binWidth = double(sampleRate) / r.Nfft;
    const float peak = Magnitudes(REX, IMX, r.Nfft, binWidth, r.xdata.data(), r.ydata.data());
    r.xdata[0] = 0.0f;
    r.ydata[0] = 0.0f;
    r.xdata[std::size_t(r.Nfft)] = 0.0f;
    r.ydata[std::size_t(r.Nfft)] = 0.0f;
    r.peak = peak;

    r.ndata = r.Nfft / 4;
    r.xinit = 0.0f;
    r.xfinal = r.xdata[std::size_t(r.ndata)];
    r.yinit = 0.0f;
    r.yfinal = peak;
}

std::int32_t UsableFrames(std::int32_t frameCount)
{
    return frameCount < 0 ? 0 : frameCount - frameCount % 4;
}

} // namespace

SpectrumResult SpectrumComputation::Compute(std::vector<float> REX, std::vector<float> IMX,
                                            std::int32_t frameCount, std::int32_t sampleRate)
{
    const std::int32_t L = UsableFrames(frameCount);
    if (L < 4) return Failure(SpectrumError::TooFewFrames, EDOM);
    if (REX.size() < std::size_t(L) || (!IMX.empty() && IMX.size() < std::size_t(L)))
        return Failure(SpectrumError::ArraysTooShort, EINVAL);

    SpectrumResult r;
    try {
        if (IMX.empty()) IMX.assign(std::size_t(L), 0.0f);
        Run(REX.data(), IMX.data(), L, sampleRate, r);
    } catch (const std::bad_alloc&) {
        return Failure(SpectrumError::OutOfMemory, ENOMEM);
    }
    return r;
}

std::optional<SampleArrays> SpectrumComputation::Input(std::int32_t frames)
{
    const std::size_t values = std::size_t(frames < 0 ? 0 : frames) + 1;
    if (values > capacity_) {
        re_.reset();
        im_.reset();
        capacity_ = 0;
        re_.reset(new (std::nothrow) float[values]);
        im_.reset(new (std::nothrow) float[values]);
        if (!re_ || !im_) {
            re_.reset();
            im_.reset();
            return std::nullopt;
        }
        capacity_ = values;
    }
    inputSize_ = values;
    return SampleArrays{{re_.get(), values}, {im_.get(), values}};
}

const SpectrumResult& SpectrumComputation::Transform(std::int32_t frameCount, std::int32_t sampleRate)
{
    const std::int32_t L = UsableFrames(frameCount);
    SpectrumResult& r = result_;
    r.error = SpectrumError::None;
    r.errorNumber = 0;
    if (L < 4) {
        r = Failure(SpectrumError::TooFewFrames, EDOM);
    } else if (inputSize_ < std::size_t(L)) {
        r = Failure(SpectrumError::ArraysTooShort, EINVAL);
    } else {
        try {
            Run(re_.get(), im_.get(), L, sampleRate, r);
        } catch (const std::bad_alloc&) {
            r = Failure(SpectrumError::OutOfMemory, ENOMEM);
        }
    }
    return r;
}

SpectrumComputation& SpectrumComputation::Shared()
{
    static SpectrumComputation computation;
    return computation;
}

} // namespace spectrum
