// The spectrum transform. Every stored value is computed exactly as the plain three-loop radix-2
// transform computes it (same operations, same order, same roundings); only the order in which
// independent butterflies run differs. How the work is laid out over the data is described in
// FftKernels.h; the kernels are built three times: here for baseline x86-64, in FftAvx2.cpp for
// AVX2 and in FftAvx512.cpp for AVX-512.
// The twiddle recurrence does not depend on the data, so each length's twiddles are produced once
// by the very same double-precision operations and kept: a table of the stages done in blocks,
// and for each larger stage the recurrence's value at every kCheckpoint-th twiddle, from which the
// kernels carry the recurrence on a chunk at a time.
//
// This file must be compiled with -ffp-contract=off: a fused multiply-add would change results.

#include "platform/dsp/Fft.h"
#include "platform/dsp/FftKernels.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

// The kernels pass vectors between always-inlined functions only; no ABI is involved.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace spectrum {
namespace fftkernels {
void TransformPortable(float* re, float* im, int stages, const Work& work)
{
    Transform(re, im, stages, work);
}
} // namespace fftkernels

namespace {

using fftkernels::Index;

// The twiddle recurrence of the stage whose butterflies span h values: w starts at 1 and is
// multiplied by (cos(π/h), −sin(π/h)) after each use.
struct Recurrence {
    explicit Recurrence(Index h)
        : sr(std::cos(4.0 * std::atan(1.0) / double(h))), si(-std::sin(4.0 * std::atan(1.0) / double(h)))
    {
    }
    void Next()
    {
        const double tr = ur;
        ur = tr * sr - ui * si;
        ui = tr * si + ui * sr;
    }
    double ur = 1.0, ui = 0.0;
    double sr, si;
};

// Doubles starting on a 64-byte boundary, so that the kernels' vectors of them never straddle
// two cache lines.
class AlignedDoubles {
public:
    void resize(Index n)
    {
        store_.resize(n + 8);
        at_ = store_.data() + (64 - std::uintptr_t(store_.data()) % 64) % 64 / sizeof(double);
    }
    double* data() { return at_; }
    const double* data() const { return at_; }
    double& operator[](Index i) { return at_[i]; }

private:
    std::vector<double> store_;
    double* at_ = nullptr;
};

// The twiddles of one length.
struct Twiddles {
    // The table twice: starting on a 64-byte boundary, and 32 bytes past one for arrays that start
    // half a vector into one (see RadixColumns).
    AlignedDoubles tableRe, tableIm, halfwayRe, halfwayIm;
    std::vector<double> checkRe, checkIm;
    double stepRe[32] = {}, stepIm[32] = {};

    explicit Twiddles(int stages)
    {
        const int tableStages = std::min(stages, fftkernels::kBlockStages);
        const Index tableSize = Index(1) << tableStages;
        tableRe.resize(tableSize);
        tableIm.resize(tableSize);
        if (stages >= fftkernels::kTiledFrom) {
            halfwayRe.resize(tableSize + 4);
            halfwayIm.resize(tableSize + 4);
        }
        if (stages > fftkernels::kBlockStages) {
            const Index checks = fftkernels::CheckpointOffset(stages + 1);
            checkRe.resize(checks);
            checkIm.resize(checks);
        }
        for (int l = 1; l <= stages; ++l) {
            const Index h = Index(1) << (l - 1);
            Recurrence w(h);
            stepRe[l] = w.sr;
            stepIm[l] = w.si;
            if (l <= tableStages) {
                for (Index t = 0; t < h; ++t, w.Next()) {
                    tableRe[h + t] = w.ur;
                    tableIm[h + t] = w.ui;
                }
            } else {
                const Index at = fftkernels::CheckpointOffset(l);
                for (Index t = 0; t < h; ++t, w.Next())
                    if (t % fftkernels::kCheckpoint == 0) {
                        checkRe[at + t / fftkernels::kCheckpoint] = w.ur;
                        checkIm[at + t / fftkernels::kCheckpoint] = w.ui;
                    }
            }
        }
        if (stages >= fftkernels::kTiledFrom) {
            std::copy(tableRe.data(), tableRe.data() + tableSize, halfwayRe.data() + 4);
            std::copy(tableIm.data(), tableIm.data() + tableSize, halfwayIm.data() + 4);
        }
    }
};

// Each length's twiddles, made on its first transform and kept; shared by all threads.
const Twiddles& TwiddlesOf(int stages)
{
    static std::mutex lock;
    static std::map<int, std::unique_ptr<const Twiddles>> made;
    const std::lock_guard<std::mutex> hold(lock);
    auto& t = made[stages];
    if (!t) t = std::make_unique<const Twiddles>(stages);
    return *t;
}

// Stages 1 and 2 for fewer than 8 values (already sorted), in the plain loop order.
void SmallStages(float* re, float* im, Index n, int stages, const double* wr, const double* wi)
{
    for (int l = 1; l <= stages; ++l) {
        const Index h = Index(1) << (l - 1);
        for (Index t = 0; t < h; ++t)
            for (Index i = t; i < n; i += 2 * h) {
                const Index ip = i + h;
                const double ur = wr[h + t], ui = wi[h + t];
                const double tr = re[ip] * ur - im[ip] * ui;
                const double ti = re[ip] * ui + im[ip] * ur;
                re[ip] = float(re[i] - tr);
                im[ip] = float(im[i] - ti);
                re[i] = float(re[i] + tr);
                im[i] = float(im[i] + ti);
            }
    }
}

bool Supports(FftKernels kernels)
{
    switch (kernels) {
    case FftKernels::Avx512:
#if defined(KIVRA_FFT_AVX512)
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
               __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512bw");
#else
        return false;
#endif
    case FftKernels::Avx2:
#if defined(KIVRA_FFT_AVX2)
        return __builtin_cpu_supports("avx2");
#else
        return false;
#endif
    case FftKernels::Best:
    case FftKernels::Portable: break;
    }
    return true;
}

} // namespace

bool FftKernelsAvailable(FftKernels kernels)
{
    static const bool avx512 = Supports(FftKernels::Avx512), avx2 = Supports(FftKernels::Avx2);
    return kernels == FftKernels::Avx512 ? avx512 : kernels == FftKernels::Avx2 ? avx2 : true;
}

FftKernels ChosenFftKernels(FftKernels requested)
{
    if (requested == FftKernels::Best || requested == FftKernels::Avx512) {
        if (FftKernelsAvailable(FftKernels::Avx512)) return FftKernels::Avx512;
        requested = FftKernels::Avx2;
    }
    if (requested == FftKernels::Avx2 && FftKernelsAvailable(FftKernels::Avx2)) return FftKernels::Avx2;
    return FftKernels::Portable;
}

void fft(float* REX, float* IMX, std::int32_t n, std::int32_t& Nfft, FftKernels kernels)
{
    if (n < 1) {
        Nfft = 0;
        return;
    }
    int stages = 0;
    while ((std::int64_t(2) << stages) <= n) ++stages;
    Nfft = std::int32_t(1) << stages;
    if (stages == 0) return;

    // Memory first, so that a failed allocation leaves the data as it was.
    const Twiddles& tw = TwiddlesOf(stages);
    if (stages < 3) {
        if (stages == 2) { // the sorting: 1 and 2 change places
            std::swap(REX[1], REX[2]);
            std::swap(IMX[1], IMX[2]);
        }
        SmallStages(REX, IMX, Index(1) << stages, stages, tw.tableRe.data(), tw.tableIm.data());
        return;
    }
    std::vector<double> chunk(2 * fftkernels::kChunkRuns * fftkernels::kChunk);
    std::vector<float> tiles(stages >= fftkernels::kTiledFrom ? fftkernels::kTileFloats : 0);
    const bool halfway = std::uintptr_t(REX) % 32 == 16 && std::uintptr_t(IMX) % 32 == 16 &&
                         stages >= fftkernels::kTiledFrom;
    const fftkernels::Work work{halfway ? tw.halfwayRe.data() + 4 : tw.tableRe.data(),
                                halfway ? tw.halfwayIm.data() + 4 : tw.tableIm.data(), tw.stepRe, tw.stepIm,
                                tw.checkRe.data(), tw.checkIm.data(), chunk.data(),
                                chunk.data() + chunk.size() / 2, tiles.data()};
    switch (ChosenFftKernels(kernels)) {
#if defined(KIVRA_FFT_AVX512)
    case FftKernels::Avx512: fftkernels::TransformAvx512(REX, IMX, stages, work); return;
#endif
#if defined(KIVRA_FFT_AVX2)
    case FftKernels::Avx2: fftkernels::TransformAvx2(REX, IMX, stages, work); return;
#endif
    default: fftkernels::TransformPortable(REX, IMX, stages, work); return;
    }
}

} // namespace spectrum
