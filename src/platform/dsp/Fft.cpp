// The spectrum transform. Every stored value is computed exactly as the plain three-loop radix-2
// transform computes it (same operations, same order, same roundings); only the order in which
// independent butterflies run differs:
//  1. bit-reversal sorting, done tile by tile so that every cache line is read and written once;
//  2. stages 1 to kBlockStages inside blocks of 2^kBlockStages values, which stay in the cache:
//     stages 1-3 on each 8 values in registers, then two stages at a time (radix 4), the values
//     between the two stages rounded to single precision just as if they had been stored;
//  3. the remaining stages one at a time over the whole array, twiddle by twiddle in chunks.
// The butterfly kernels are in FftKernels.h, built twice: here for baseline x86-64 and in
// FftAvx2.cpp for processors with AVX2.
// The twiddle recurrence does not depend on the data, so each stage's sequence of twiddles is
// produced in advance (a table for the small stages, a chunk at a time for the large ones) by the
// very same double-precision operations.
//
// This file must be compiled with -ffp-contract=off: a fused multiply-add would change results.

#include "platform/dsp/Fft.h"
#include "platform/dsp/FftKernels.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

// The kernels pass 32-byte vectors between always-inlined functions only; no ABI is involved.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace spectrum {
namespace fftkernels {
void StagesPortable(float* re, float* im, int stages, const Work& work)
{
    RunStages(re, im, stages, work);
}
} // namespace fftkernels

namespace {

using fftkernels::Index;
using fftkernels::Recurrence;

// ---- bit-reversal sorting -------------------------------------------------------------------

Index Reverse(Index x, int bits)
{
    Index r = 0;
    for (int b = 0; b < bits; ++b, x >>= 1) r = (r << 1) | (x & 1);
    return r;
}

// The sorting loop as written for the transform: exchange i and j = reverse(i) when i < j.
void BitReverseSmall(float* re, float* im, Index n)
{
    Index j = n / 2;
    for (Index i = 1; i + 2 <= n; ++i) {
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
        Index k = n / 2;
        while (k <= j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }
}

// Index = (a: q high bits, m: middle bits, c: q low bits); reverse(a, m, c) = (rc, rm, ra). The
// tile of one m (2^q rows of 2^q neighbours, i.e. whole cache lines) goes to the tile of rm
// transposed, so each line is read once and written once.
template <int q>
void BitReverseTiled(float* x, int bits)
{
    constexpr Index side = Index(1) << q;
    const int middleBits = bits - 2 * q;
    const Index rowStride = Index(1) << (bits - q);
    Index rev[side];
    for (Index i = 0; i < side; ++i) rev[i] = Reverse(i, q);
    float tileA[side][side], tileB[side][side];
    for (Index m = 0; m < (Index(1) << middleBits); ++m) {
        const Index rm = Reverse(m, middleBits);
        if (rm < m) continue;
        for (Index a = 0; a < side; ++a)
            std::memcpy(tileA[a], x + a * rowStride + (m << q), sizeof tileA[a]);
        if (rm != m)
            for (Index a = 0; a < side; ++a)
                std::memcpy(tileB[a], x + a * rowStride + (rm << q), sizeof tileB[a]);
        for (Index c = 0; c < side; ++c) {
            float* to = x + rev[c] * rowStride + (rm << q);
            for (Index a = 0; a < side; ++a) to[rev[a]] = tileA[a][c];
        }
        if (rm != m)
            for (Index c = 0; c < side; ++c) {
                float* to = x + rev[c] * rowStride + (m << q);
                for (Index a = 0; a < side; ++a) to[rev[a]] = tileB[a][c];
            }
    }
}

void BitReverse(float* re, float* im, int bits)
{
    if (bits < 8) {
        BitReverseSmall(re, im, Index(1) << bits);
    } else if (bits < 10) {
        BitReverseTiled<4>(re, bits);
        BitReverseTiled<4>(im, bits);
    } else {
        BitReverseTiled<5>(re, bits);
        BitReverseTiled<5>(im, bits);
    }
}

// Twiddles of stages 1 to `stages`: stage l (h = 2^(l−1)) at offset h − 1, h entries each.
void MakeTwiddleTable(int stages, double* re, double* im)
{
    for (int l = 1; l <= stages; ++l) {
        const Index h = Index(1) << (l - 1);
        Recurrence w(h);
        for (Index t = 0; t < h; ++t) {
            re[h - 1 + t] = w.ur;
            im[h - 1 + t] = w.ui;
            w.Next();
        }
    }
}

// Stages 1 and 2 for fewer than 8 values, in the plain loop order.
void SmallStages(float* re, float* im, Index n, int stages, const double* wr, const double* wi)
{
    for (int l = 1; l <= stages; ++l) {
        const Index h = Index(1) << (l - 1);
        for (Index t = 0; t < h; ++t)
            for (Index i = t; i < n; i += 2 * h) {
                const Index ip = i + h;
                const double ur = wr[h - 1 + t], ui = wi[h - 1 + t];
                const double tr = re[ip] * ur - im[ip] * ui;
                const double ti = re[ip] * ui + im[ip] * ur;
                re[ip] = float(re[i] - tr);
                im[ip] = float(im[i] - ti);
                re[i] = float(re[i] + tr);
                im[i] = float(im[i] + ti);
            }
    }
}

[[maybe_unused]] bool HasAvx2()
{
#if defined(KIVRA_FFT_AVX2)
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

} // namespace

void fft(float* REX, float* IMX, std::int32_t n, std::int32_t& Nfft, FftKernels kernels)
{
    if (n < 1) {
        Nfft = 0;
        return;
    }
    int stages = 0;
    while ((std::int64_t(2) << stages) <= n) ++stages;
    Nfft = std::int32_t(1) << stages;

    // Memory first, so that a failed allocation leaves the data as it was.
    const int tableStages = std::min(stages, fftkernels::kBlockStages);
    std::vector<double> table(Index(2) << tableStages);
    std::vector<double> chunk(stages > tableStages ? 2 * fftkernels::kChunk : 0);
    double* tableRe = table.data();
    double* tableIm = table.data() + (Index(1) << tableStages);
    MakeTwiddleTable(tableStages, tableRe, tableIm);

    BitReverse(REX, IMX, stages);
    if (stages == 0) return;
    if (stages < 3) {
        SmallStages(REX, IMX, Index(1) << stages, stages, tableRe, tableIm);
        return;
    }
    const fftkernels::Work work{tableRe, tableIm, chunk.data(), chunk.data() + chunk.size() / 2};
#if defined(KIVRA_FFT_AVX2)
    if (kernels == FftKernels::Best && HasAvx2()) {
        fftkernels::StagesAvx2(REX, IMX, stages, work);
        return;
    }
#endif
    fftkernels::StagesPortable(REX, IMX, stages, work);
}

} // namespace spectrum
