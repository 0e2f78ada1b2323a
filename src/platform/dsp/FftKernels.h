#pragma once
// Internal to the transform: the butterfly kernels, included by Fft.cpp (baseline x86-64) and by
// FftAvx2.cpp (compiled for AVX2). Everything below the declarations lives in an anonymous
// namespace, so each of the two files gets its own private copy built for its own instruction
// set, and no AVX2 code can stand in for a baseline function at link time.
//
// A butterfly: t = b·w in double precision (b widened from single), then a − t goes to b and
// a + t to a, both rounded to single. Kernels that run several stages in registers round the
// values between stages to single exactly as storing them would.
//
// Files including this one must be compiled with -ffp-contract=off.

#include <cmath>
#include <cstddef>
#include <cstring>
#if defined(__AVX__)
#include <immintrin.h>
#endif

namespace spectrum::fftkernels {

using Index = std::size_t;

// Stages done inside blocks of 2^kBlockStages values (64 KiB of data, in the cache); their
// twiddles come from a table of 2^kBlockStages − 1 entries.
constexpr int kBlockStages = 13;
// Twiddles of the larger stages are produced this many at a time.
constexpr Index kChunk = 2048;

// Twiddle table of stages 1 … min(stages, kBlockStages), stage l (h = 2^(l−1)) at offset h − 1,
// and room for one chunk of the larger stages' twiddles.
struct Work {
    const double* tableRe;
    const double* tableIm;
    double* chunkRe;
    double* chunkIm;
};

// All stages of a transform of 2^stages values (stages ≥ 3), already in bit-reversed order.
void StagesPortable(float* re, float* im, int stages, const Work& work);
void StagesAvx2(float* re, float* im, int stages, const Work& work);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

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

#define KIVRA_FFT_INLINE inline __attribute__((always_inline))

typedef float v4f __attribute__((vector_size(16)));
typedef double v4d __attribute__((vector_size(32)));

KIVRA_FFT_INLINE v4f LoadF(const float* p)
{
    v4f v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
KIVRA_FFT_INLINE void StoreF(float* p, const v4f& v) { std::memcpy(p, &v, sizeof v); }
KIVRA_FFT_INLINE v4d LoadD(const double* p)
{
    v4d v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
KIVRA_FFT_INLINE v4d Broadcast(double x) { return v4d{x, x, x, x}; }

#if defined(__AVX__)
KIVRA_FFT_INLINE v4d Wide(const v4f& v) { return v4d(_mm256_cvtps_pd(__m128(v))); }
KIVRA_FFT_INLINE v4f Narrow(const v4d& v) { return v4f(_mm256_cvtpd_ps(__m256d(v))); }
#else
KIVRA_FFT_INLINE v4d Wide(const v4f& v) { return __builtin_convertvector(v, v4d); }
KIVRA_FFT_INLINE v4f Narrow(const v4d& v) { return __builtin_convertvector(v, v4f); }
#endif

// Four butterflies side by side.
struct Pair {
    v4f ar, ai, br, bi;
};
KIVRA_FFT_INLINE Pair Butterfly(const v4d& ar, const v4d& ai, const v4d& br, const v4d& bi,
                                const v4d& wr, const v4d& wi)
{
    const v4d tr = br * wr - bi * wi;
    const v4d ti = br * wi + bi * wr;
    return {Narrow(ar + tr), Narrow(ai + ti), Narrow(ar - tr), Narrow(ai - ti)};
}

KIVRA_FFT_INLINE const double* StageRe(const Work& w, int l) { return w.tableRe + (Index(1) << (l - 1)) - 1; }
KIVRA_FFT_INLINE const double* StageIm(const Work& w, int l) { return w.tableIm + (Index(1) << (l - 1)) - 1; }

// Stages 1, 2 and 3 on the 8 values at re/im.
KIVRA_FFT_INLINE void FirstThreeStages(float* re, float* im, const Work& w)
{
    const v4f r0 = LoadF(re), r1 = LoadF(re + 4), i0 = LoadF(im), i1 = LoadF(im + 4);
    // Stage 1: (0,1) (2,3) (4,5) (6,7), all with the first twiddle.
    const Pair s1 = Butterfly(Wide(__builtin_shufflevector(r0, r1, 0, 2, 4, 6)),
                              Wide(__builtin_shufflevector(i0, i1, 0, 2, 4, 6)),
                              Wide(__builtin_shufflevector(r0, r1, 1, 3, 5, 7)),
                              Wide(__builtin_shufflevector(i0, i1, 1, 3, 5, 7)),
                              Broadcast(StageRe(w, 1)[0]), Broadcast(StageIm(w, 1)[0]));
    // s1.a holds values 0 2 4 6, s1.b values 1 3 5 7. Stage 2: (0,2) (1,3) (4,6) (5,7).
    const double* w2r = StageRe(w, 2);
    const double* w2i = StageIm(w, 2);
    const Pair s2 = Butterfly(Wide(__builtin_shufflevector(s1.ar, s1.br, 0, 4, 2, 6)),
                              Wide(__builtin_shufflevector(s1.ai, s1.bi, 0, 4, 2, 6)),
                              Wide(__builtin_shufflevector(s1.ar, s1.br, 1, 5, 3, 7)),
                              Wide(__builtin_shufflevector(s1.ai, s1.bi, 1, 5, 3, 7)),
                              v4d{w2r[0], w2r[1], w2r[0], w2r[1]}, v4d{w2i[0], w2i[1], w2i[0], w2i[1]});
    // s2.a holds values 0 1 4 5, s2.b values 2 3 6 7. Stage 3: (0,4) (1,5) (2,6) (3,7).
    const Pair s3 = Butterfly(Wide(__builtin_shufflevector(s2.ar, s2.br, 0, 1, 4, 5)),
                              Wide(__builtin_shufflevector(s2.ai, s2.bi, 0, 1, 4, 5)),
                              Wide(__builtin_shufflevector(s2.ar, s2.br, 2, 3, 6, 7)),
                              Wide(__builtin_shufflevector(s2.ai, s2.bi, 2, 3, 6, 7)),
                              LoadD(StageRe(w, 3)), LoadD(StageIm(w, 3)));
    StoreF(re, s3.ar);
    StoreF(re + 4, s3.br);
    StoreF(im, s3.ai);
    StoreF(im + 4, s3.bi);
}

// One stage's butterflies for `count` (a multiple of 4) neighbouring pairs: value a + t pairs
// with b + t and uses twiddle t.
KIVRA_FFT_INLINE void Radix2Run(float* ar, float* ai, float* br, float* bi, Index count,
                                const double* wr, const double* wi)
{
    for (Index t = 0; t < count; t += 4) {
        const Pair p = Butterfly(Wide(LoadF(ar + t)), Wide(LoadF(ai + t)), Wide(LoadF(br + t)),
                                 Wide(LoadF(bi + t)), LoadD(wr + t), LoadD(wi + t));
        StoreF(ar + t, p.ar);
        StoreF(ai + t, p.ai);
        StoreF(br + t, p.br);
        StoreF(bi + t, p.bi);
    }
}

// Stages l and l + 1 (h = 2^(l−1) ≥ 4) over `len` values: the four values t, t + h, t + 2h and
// t + 3h of each group of 4h go through both stages in registers.
KIVRA_FFT_INLINE void Radix4Stages(float* re, float* im, Index len, Index h, const double* w1r,
                                   const double* w1i, const double* w2r, const double* w2i)
{
    for (Index g = 0; g < len; g += 4 * h) {
        float* r = re + g;
        float* i = im + g;
        for (Index t = 0; t < h; t += 4) {
            const v4d ar = LoadD(w1r + t), ai = LoadD(w1i + t);
            const Pair p01 = Butterfly(Wide(LoadF(r + t)), Wide(LoadF(i + t)), Wide(LoadF(r + t + h)),
                                       Wide(LoadF(i + t + h)), ar, ai);
            const Pair p23 = Butterfly(Wide(LoadF(r + t + 2 * h)), Wide(LoadF(i + t + 2 * h)),
                                       Wide(LoadF(r + t + 3 * h)), Wide(LoadF(i + t + 3 * h)), ar, ai);
            const Pair q02 = Butterfly(Wide(p01.ar), Wide(p01.ai), Wide(p23.ar), Wide(p23.ai),
                                       LoadD(w2r + t), LoadD(w2i + t));
            StoreF(r + t, q02.ar);
            StoreF(i + t, q02.ai);
            StoreF(r + t + 2 * h, q02.br);
            StoreF(i + t + 2 * h, q02.bi);
            const Pair q13 = Butterfly(Wide(p01.br), Wide(p01.bi), Wide(p23.br), Wide(p23.bi),
                                       LoadD(w2r + t + h), LoadD(w2i + t + h));
            StoreF(r + t + h, q13.ar);
            StoreF(i + t + h, q13.ai);
            StoreF(r + t + 3 * h, q13.br);
            StoreF(i + t + 3 * h, q13.bi);
        }
    }
}

// Stages 1 to `stages` (≥ 3) of the block of 2^stages values at re/im.
KIVRA_FFT_INLINE void BlockStages(float* re, float* im, int stages, const Work& w)
{
    const Index len = Index(1) << stages;
    for (Index p = 0; p < len; p += 8) FirstThreeStages(re + p, im + p, w);
    int l = 4;
    for (; l + 1 <= stages; l += 2)
        Radix4Stages(re, im, len, Index(1) << (l - 1), StageRe(w, l), StageIm(w, l),
                     StageRe(w, l + 1), StageIm(w, l + 1));
    if (l == stages) {
        const Index h = Index(1) << (l - 1);
        for (Index g = 0; g < len; g += 2 * h)
            Radix2Run(re + g, im + g, re + g + h, im + g + h, h, StageRe(w, l), StageIm(w, l));
    }
}

// Stage l (h = 2^(l−1) ≥ kChunk) over all n values, its twiddles made kChunk at a time.
KIVRA_FFT_INLINE void LargeStage(float* re, float* im, Index n, int l, const Work& w)
{
    const Index h = Index(1) << (l - 1);
    Recurrence rec(h);
    for (Index t0 = 0; t0 < h; t0 += kChunk) {
        for (Index k = 0; k < kChunk; ++k) {
            w.chunkRe[k] = rec.ur;
            w.chunkIm[k] = rec.ui;
            rec.Next();
        }
        for (Index g = 0; g < n; g += 2 * h)
            Radix2Run(re + g + t0, im + g + t0, re + g + h + t0, im + g + h + t0, kChunk,
                      w.chunkRe, w.chunkIm);
    }
}

KIVRA_FFT_INLINE void RunStages(float* re, float* im, int stages, const Work& w)
{
    const Index n = Index(1) << stages;
    const int blockStages = stages < kBlockStages ? stages : kBlockStages;
    const Index block = Index(1) << blockStages;
    for (Index b = 0; b < n; b += block) BlockStages(re + b, im + b, blockStages, w);
    for (int l = blockStages + 1; l <= stages; ++l) LargeStage(re, im, n, l, w);
}

} // namespace

#pragma GCC diagnostic pop

} // namespace spectrum::fftkernels
