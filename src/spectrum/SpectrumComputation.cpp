#include "spectrum/SpectrumComputation.h"

#include "platform/dsp/Fft.h"

#include <cerrno>
#include <cmath>
#include <new>

namespace spectrum {

namespace {

SpectrumResult Failure(SpectrumError error, int number)
{
    SpectrumResult r;
    r.error = error;
    r.errorNumber = number;
    return r;
}

} // namespace

SpectrumResult SpectrumComputation::Compute(std::vector<float> REX, std::vector<float> IMX,
                                            std::int32_t frameCount, std::int32_t sampleRate)
{
    const std::int32_t L = frameCount < 0 ? 0 : frameCount - frameCount % 4;
    if (L < 4) return Failure(SpectrumError::TooFewFrames, EDOM);
    if (REX.size() < std::size_t(L) || (!IMX.empty() && IMX.size() < std::size_t(L)))
        return Failure(SpectrumError::ArraysTooShort, EINVAL);

    SpectrumResult r;
    try {
        if (IMX.empty()) IMX.assign(std::size_t(L), 0.0f);
        fft(REX.data(), IMX.data(), L, r.Nfft);
        r.xdata.assign(std::size_t(r.Nfft) + 1, 0.0f);
        r.ydata.assign(std::size_t(r.Nfft) + 1, 0.0f);
    } catch (const std::bad_alloc&) {
        return Failure(SpectrumError::OutOfMemory, ENOMEM);
    }

    const double binWidth = double(sampleRate) / r.Nfft;
    float peak = 0.0f;
    for (std::int32_t i = 1; i < r.Nfft; ++i) {
        const double re = REX[std::size_t(i)], im = IMX[std::size_t(i)];
        r.xdata[std::size_t(i)] = float(binWidth * i);
        const float y = float(std::sqrt(re * re + im * im) / r.Nfft);
        r.ydata[std::size_t(i)] = y;
        if (y > peak) peak = y;
    }
    r.xdata[0] = 0.0f;
    r.ydata[0] = 0.0f;
    r.peak = peak;

    r.ndata = r.Nfft / 4;
    r.xinit = 0.0f;
    r.xfinal = r.xdata[std::size_t(r.ndata)];
    r.yinit = 0.0f;
    r.yfinal = peak;
    return r;
}

} // namespace spectrum
