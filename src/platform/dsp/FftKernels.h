#pragma once
// Internal to the transform: the butterfly kernels, included by Fft.cpp (baseline x86-64), by
// FftAvx2.cpp (compiled for AVX2) and by FftAvx512.cpp (compiled for AVX-512). Everything below
// the declarations lives in an anonymous namespace, so each file gets its own private copy built
// for its own instruction set, and no AVX code can stand in for a baseline function at link time.
//
// A butterfly: t = b·w in double precision (b widened from single), then a − t goes to b and
// a + t to a, both rounded to single. Kernels that run several stages in registers round the
// values between stages to single exactly as storing them would.
//
// How a transform of 2^B values (B ≥ kTiledFrom) runs, in three kinds of passes over the data:
//  1. Tiles. Write an index as (a: 5 high bits, m: middle bits, c: 5 low bits); its bit-reversed
//     position is (rc, rm, ra). Stages 1 to 5 only ever combine values whose indices differ in a,
//     so they run on the 32 × 32 tile of one m before it is sorted: on its rows (a), as vectors
//     along c, each row's twiddle a constant. The tile then goes out transposed to the place of
//     the tile of rm, which has been read by then; every cache line is read once and written
//     once. Pairs are taken in an order that reuses the pages of both tiles.
//  2. Blocks. Stages 6 to kBlockStages inside each block of 2^kBlockStages values (in the
//     cache), three stages at a time in registers, twiddles from a table.
//  3. The larger stages over the whole array, three at a time in registers, their twiddles made
//     a chunk at a time from checkpoints of the twiddle recurrence.
// With AVX-512, sums and differences run as fused multiply-adds with the factor 1 (exact), and
// arrays that start off a vector boundary are walked on aligned vectors (see RadixColumns).
// Smaller transforms sort first and then run all stages in blocks.
//
// Files including this one must be compiled with -ffp-contract=off.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__AVX__)
#include <immintrin.h>
#endif

namespace spectrum::fftkernels {

using Index = std::size_t;

// Transforms of 2^kTiledFrom values and more run as tiles of 2^kTileBits × 2^kTileBits.
constexpr int kTileBits = 5;
constexpr int kTiledFrom = 2 * kTileBits;
// Stages done inside blocks of 2^kBlockStages values (256 KiB of data, in the L2 cache); their
// twiddles come from a table of 2^kBlockStages entries.
constexpr int kBlockStages = 15;
// Twiddles of the larger stages are made kChunk at a time, each stretch of kCheckpoint of them
// from a checkpoint: the recurrence's value at every kCheckpoint-th twiddle.
constexpr Index kChunk = 256;
constexpr Index kCheckpoint = 64;

// Twiddle table of stages 1 … min(B, kBlockStages), stage l (h = 2^(l−1)) at offset h (so that
// from stage 4 on each stage starts on a 64-byte boundary when the table does);
// checkpoints of stages L > kBlockStages, stage L at offset (2^(L−1) − 2^kBlockStages) / kCheckpoint;
// scratch room: 8 runs of kChunk twiddles and the tiles.
struct Work {
    const double* tableRe;
    const double* tableIm;
    const double* stepRe; // the recurrence's factor (cos(π/h), −sin(π/h)) of stage l at [l]
    const double* stepIm;
    const double* checkRe;
    const double* checkIm;
    double* chunkRe;
    double* chunkIm;
    float* tiles;
};
constexpr Index kChunkRuns = 8;
constexpr Index kTileFloats = 6 * (Index(1) << (2 * kTileBits));

// The whole transform of 2^stages values (stages ≥ 3) in place, sorting included.
void TransformPortable(float* re, float* im, int stages, const Work& work);
void TransformAvx2(float* re, float* im, int stages, const Work& work);
void TransformAvx512(float* re, float* im, int stages, const Work& work);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

#define KIVRA_FFT_INLINE inline __attribute__((always_inline))

KIVRA_FFT_INLINE Index Reverse(Index x, int bits)
{
    Index r = 0;
    for (int b = 0; b < bits; ++b, x >>= 1) r = (r << 1) | (x & 1);
    return r;
}

// ---- sorting of the smaller transforms --------------------------------------------------------

// The sorting loop as written for the transform: exchange i and j = reverse(i) when i < j.
void BitReverseSmall(float* re, float* im, Index n)
{
    Index j = n / 2;
    for (Index i = 1; i + 2 <= n; ++i) {
        if (i < j) {
            const float r = re[i], m = im[i];
            re[i] = re[j];
            im[i] = im[j];
            re[j] = r;
            im[j] = m;
        }
        Index k = n / 2;
        while (k <= j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }
}

// Index = (a: 4 high bits, m: middle bits, c: 4 low bits); the tile of one m goes, transposed,
// to the tile of reverse(m), so each cache line is read once and written once.
void BitReverseTiled4(float* x, int bits)
{
    constexpr int q = 4;
    constexpr Index side = Index(1) << q;
    const int middleBits = bits - 2 * q;
    const Index rowStride = Index(1) << (bits - q);
    Index rev[side];
    for (Index i = 0; i < side; ++i) rev[i] = Reverse(i, q);
    float tileA[side][side], tileB[side][side];
    for (Index m = 0; m < (Index(1) << middleBits); ++m) {
        const Index rm = Reverse(m, middleBits);
        if (rm < m) continue;
        for (Index a = 0; a < side; ++a) std::memcpy(tileA[a], x + a * rowStride + (m << q), sizeof tileA[a]);
        if (rm != m)
            for (Index a = 0; a < side; ++a) std::memcpy(tileB[a], x + a * rowStride + (rm << q), sizeof tileB[a]);
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

// ---- four lanes: the smaller transforms ------------------------------------------------------

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
KIVRA_FFT_INLINE Pair Butterfly(const v4d& ar, const v4d& ai, const v4d& br, const v4d& bi, const v4d& wr,
                                const v4d& wi)
{
    const v4d tr = br * wr - bi * wi;
    const v4d ti = br * wi + bi * wr;
    return {Narrow(ar + tr), Narrow(ai + ti), Narrow(ar - tr), Narrow(ai - ti)};
}

KIVRA_FFT_INLINE const double* StageRe(const Work& w, int l) { return w.tableRe + (Index(1) << (l - 1)); }
KIVRA_FFT_INLINE const double* StageIm(const Work& w, int l) { return w.tableIm + (Index(1) << (l - 1)); }

// Stages 1, 2 and 3 on the 8 values at re/im.
KIVRA_FFT_INLINE void FirstThreeStages(float* re, float* im, const Work& w)
{
    const v4f r0 = LoadF(re), r1 = LoadF(re + 4), i0 = LoadF(im), i1 = LoadF(im + 4);
    // Stage 1: (0,1) (2,3) (4,5) (6,7), all with the first twiddle.
    const Pair s1 = Butterfly(Wide(__builtin_shufflevector(r0, r1, 0, 2, 4, 6)),
                              Wide(__builtin_shufflevector(i0, i1, 0, 2, 4, 6)),
                              Wide(__builtin_shufflevector(r0, r1, 1, 3, 5, 7)),
                              Wide(__builtin_shufflevector(i0, i1, 1, 3, 5, 7)), Broadcast(StageRe(w, 1)[0]),
                              Broadcast(StageIm(w, 1)[0]));
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
                              Wide(__builtin_shufflevector(s2.ai, s2.bi, 2, 3, 6, 7)), LoadD(StageRe(w, 3)),
                              LoadD(StageIm(w, 3)));
    StoreF(re, s3.ar);
    StoreF(re + 4, s3.br);
    StoreF(im, s3.ai);
    StoreF(im + 4, s3.bi);
}

// One stage's butterflies for `count` (a multiple of 4) neighbouring pairs: value a + t pairs
// with b + t and uses twiddle t.
KIVRA_FFT_INLINE void Radix2Run(float* ar, float* ai, float* br, float* bi, Index count, const double* wr,
                                const double* wi)
{
    for (Index t = 0; t < count; t += 4) {
        const Pair p = Butterfly(Wide(LoadF(ar + t)), Wide(LoadF(ai + t)), Wide(LoadF(br + t)), Wide(LoadF(bi + t)),
                                 LoadD(wr + t), LoadD(wi + t));
        StoreF(ar + t, p.ar);
        StoreF(ai + t, p.ai);
        StoreF(br + t, p.br);
        StoreF(bi + t, p.bi);
    }
}

// Stages l and l + 1 (h = 2^(l−1) ≥ 4) over `len` values: the four values t, t + h, t + 2h and
// t + 3h of each group of 4h go through both stages in registers.
KIVRA_FFT_INLINE void Radix4Stages(float* re, float* im, Index len, Index h, const double* w1r, const double* w1i,
                                   const double* w2r, const double* w2i)
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
            const Pair q02 =
                Butterfly(Wide(p01.ar), Wide(p01.ai), Wide(p23.ar), Wide(p23.ai), LoadD(w2r + t), LoadD(w2i + t));
            StoreF(r + t, q02.ar);
            StoreF(i + t, q02.ai);
            StoreF(r + t + 2 * h, q02.br);
            StoreF(i + t + 2 * h, q02.bi);
            const Pair q13 = Butterfly(Wide(p01.br), Wide(p01.bi), Wide(p23.br), Wide(p23.bi), LoadD(w2r + t + h),
                                       LoadD(w2i + t + h));
            StoreF(r + t + h, q13.ar);
            StoreF(i + t + h, q13.ai);
            StoreF(r + t + 3 * h, q13.br);
            StoreF(i + t + 3 * h, q13.bi);
        }
    }
}

// All stages (3 ≤ stages < kTiledFrom) of 2^stages values already sorted.
KIVRA_FFT_INLINE void SmallStages(float* re, float* im, int stages, const Work& w)
{
    const Index len = Index(1) << stages;
    for (Index p = 0; p < len; p += 8) FirstThreeStages(re + p, im + p, w);
    int l = 4;
    for (; l + 1 <= stages; l += 2)
        Radix4Stages(re, im, len, Index(1) << (l - 1), StageRe(w, l), StageIm(w, l), StageRe(w, l + 1),
                     StageIm(w, l + 1));
    if (l == stages) {
        const Index h = Index(1) << (l - 1);
        for (Index g = 0; g < len; g += 2 * h)
            Radix2Run(re + g, im + g, re + g + h, im + g + h, h, StageRe(w, l), StageIm(w, l));
    }
}

// ---- the widest vectors the processor has: the larger transforms ------------------------------

#if defined(__AVX512F__)
constexpr int kLanes = 8;
#else
constexpr int kLanes = 4;
#endif
typedef float vf __attribute__((vector_size(4 * kLanes)));
typedef double vd __attribute__((vector_size(8 * kLanes)));
typedef float v8f __attribute__((vector_size(32)));
typedef double v8d __attribute__((vector_size(64)));

KIVRA_FFT_INLINE vf LoadV(const float* p)
{
    vf v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
KIVRA_FFT_INLINE void StoreV(float* p, const vf& v) { std::memcpy(p, &v, sizeof v); }
KIVRA_FFT_INLINE vd LoadVD(const double* p)
{
    vd v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
KIVRA_FFT_INLINE vd BroadcastV(double x)
{
    vd v;
    for (int k = 0; k < kLanes; ++k) v[k] = x;
    return v;
}
#if defined(__AVX512F__)
// (The zero-masking forms with every lane selected: the plain intrinsics trip GCC 12's
// uninitialised-value warning.)
KIVRA_FFT_INLINE vd WideV(const vf& v) { return vd(_mm512_maskz_cvtps_pd(__mmask8(0xFF), __m256(v))); }
KIVRA_FFT_INLINE vf NarrowV(const vd& v) { return vf(_mm512_maskz_cvtpd_ps(__mmask8(0xFF), __m512d(v))); }
#else
KIVRA_FFT_INLINE vd WideV(const vf& v) { return Wide(v); }
KIVRA_FFT_INLINE vf NarrowV(const vd& v) { return Narrow(v); }
#endif

// kLanes complex values in single precision, and kLanes twiddles.
struct CF {
    vf r, i;
};
struct CW {
    vd r, i;
};

#if defined(__AVX512F__)
// x + y and x − y, each rounded once, as fused multiply-adds with the factor 1: x·1 is exact, so
// the results are bit for bit those of the plain addition and subtraction. They run on the
// multiply units, which the butterflies leave half idle, while the conversions between single
// and double precision keep the adders busy.
KIVRA_FFT_INLINE vd Sum(const vd& x, const vd& y) { return vd(_mm512_fmadd_pd(__m512d(y), _mm512_set1_pd(1.0), __m512d(x))); }
KIVRA_FFT_INLINE vd Difference(const vd& x, const vd& y)
{
    return vd(_mm512_fnmadd_pd(__m512d(y), _mm512_set1_pd(1.0), __m512d(x)));
}
#else
KIVRA_FFT_INLINE vd Sum(const vd& x, const vd& y) { return x + y; }
KIVRA_FFT_INLINE vd Difference(const vd& x, const vd& y) { return x - y; }
#endif

// kLanes butterflies side by side: a ← a + b·w, b ← a − b·w.
KIVRA_FFT_INLINE void Bfly(CF& a, CF& b, const CW& w)
{
    const vd ar = WideV(a.r), ai = WideV(a.i), br = WideV(b.r), bi = WideV(b.i);
    const vd tr = Difference(br * w.r, bi * w.i);
    const vd ti = Sum(br * w.i, bi * w.r);
    a = {NarrowV(Sum(ar, tr)), NarrowV(Sum(ai, ti))};
    b = {NarrowV(Difference(ar, tr)), NarrowV(Difference(ai, ti))};
}

// Three stages on x[0..7] (positions t + j·h): stage l pairs (0,1) (2,3) (4,5) (6,7) with w[0];
// stage l + 1 pairs (0,2) (4,6) with w[1] and (1,3) (5,7) with w[2]; stage l + 2 pairs (0,4),
// (1,5), (2,6), (3,7) with w[3] … w[6].
KIVRA_FFT_INLINE void Radix8(CF* x, const CW* w)
{
    Bfly(x[0], x[1], w[0]);
    Bfly(x[2], x[3], w[0]);
    Bfly(x[4], x[5], w[0]);
    Bfly(x[6], x[7], w[0]);
    Bfly(x[0], x[2], w[1]);
    Bfly(x[4], x[6], w[1]);
    Bfly(x[1], x[3], w[2]);
    Bfly(x[5], x[7], w[2]);
    Bfly(x[0], x[4], w[3]);
    Bfly(x[1], x[5], w[4]);
    Bfly(x[2], x[6], w[5]);
    Bfly(x[3], x[7], w[6]);
}
// Two stages on x[0..3]: stage l pairs (0,1) (2,3) with w[0]; stage l + 1 pairs (0,2) with w[1]
// and (1,3) with w[2].
KIVRA_FFT_INLINE void Radix4(CF* x, const CW* w)
{
    Bfly(x[0], x[1], w[0]);
    Bfly(x[2], x[3], w[0]);
    Bfly(x[0], x[2], w[1]);
    Bfly(x[1], x[3], w[2]);
}

// The twiddles of `radix` − 1 runs (radix 2, 4 or 8) for the positions t … t + count − 1.
struct Runs {
    const double* re[7];
    const double* im[7];
};

// Stages l … l + log2(radix) − 1 for the `count` (a multiple of kLanes) columns at re/im, whose
// rows are h apart: row j of column t holds the value at position t + j·h.
template <int radix>
KIVRA_FFT_INLINE void RadixVector(float* re, float* im, Index h, Index t, const Runs& w)
{
    CF x[radix];
    CW tw[radix - 1];
#pragma GCC unroll 8
    for (int j = 0; j < radix; ++j) x[j] = {LoadV(re + t + j * h), LoadV(im + t + j * h)};
#pragma GCC unroll 8
    for (int j = 0; j < radix - 1; ++j) tw[j] = {LoadVD(w.re[j] + t), LoadVD(w.im[j] + t)};
    if constexpr (radix == 8)
        Radix8(x, tw);
    else if constexpr (radix == 4)
        Radix4(x, tw);
    else
        Bfly(x[0], x[1], tw[0]);
#pragma GCC unroll 8
    for (int j = 0; j < radix; ++j) {
        StoreV(re + t + j * h, x[j].r);
        StoreV(im + t + j * h, x[j].i);
    }
}

#if defined(__AVX512F__)
// The columns [0, off) and [count − kLanes + off, count) as one vector: lanes 0 … kLanes − off − 1
// hold the last columns, the others the first ones. Loaded and stored through masks at addresses
// as aligned as those of the columns in between.
template <int radix>
KIVRA_FFT_INLINE void RadixEdges(float* re, float* im, Index h, Index count, Index off, const Runs& w)
{
    const __mmask8 last = __mmask8((1u << (kLanes - off)) - 1), first = __mmask8(~last);
    const Index tail = count - kLanes + off;
    const auto load = [&](const float* p) {
        return vf(_mm256_mask_loadu_ps(_mm256_maskz_loadu_ps(last, p + tail), first, p + off - kLanes));
    };
    const auto loadD = [&](const double* p) {
        return vd(_mm512_mask_loadu_pd(_mm512_maskz_loadu_pd(last, p + tail), first, p + off - kLanes));
    };
    const auto store = [&](float* p, const vf& v) {
        _mm256_mask_storeu_ps(p + tail, last, __m256(v));
        _mm256_mask_storeu_ps(p + off - kLanes, first, __m256(v));
    };
    CF x[radix];
    CW tw[radix - 1];
#pragma GCC unroll 8
    for (int j = 0; j < radix; ++j) x[j] = {load(re + j * h), load(im + j * h)};
#pragma GCC unroll 8
    for (int j = 0; j < radix - 1; ++j) tw[j] = {loadD(w.re[j]), loadD(w.im[j])};
    if constexpr (radix == 8)
        Radix8(x, tw);
    else if constexpr (radix == 4)
        Radix4(x, tw);
    else
        Bfly(x[0], x[1], tw[0]);
#pragma GCC unroll 8
    for (int j = 0; j < radix; ++j) {
        store(re + j * h, x[j].r);
        store(im + j * h, x[j].i);
    }
}
#endif

// Stages l … l + log2(radix) − 1 for the `count` (a multiple of kLanes) columns at re/im, whose
// rows are h apart: row j of column t holds the value at position t + j·h.
template <int radix>
KIVRA_FFT_INLINE void RadixColumns(float* re, float* im, Index h, Index count, const Runs& w)
{
#if defined(__AVX512F__)
    // Arrays that start off a vector boundary (std::vector's large blocks start 16 bytes into a
    // page) would have every other vector straddle two cache lines: the columns in between go as
    // aligned vectors, the first and last few together as one. Not for fewer than 64 columns,
    // where that one vector's masked loads and stores are a quarter of the work and cost more than
    // the straddling (the first block pass has 32: the block stages run 7% faster without).
    const std::uintptr_t at = std::uintptr_t(re) % sizeof(vf);
    if (count >= 64 && at != 0 && at % sizeof(float) == 0 && std::uintptr_t(im) % sizeof(vf) == at &&
        (h * sizeof(float)) % sizeof(vf) == 0) {
        const Index off = kLanes - at / sizeof(float);
        for (Index t = off; t + kLanes <= count; t += kLanes) RadixVector<radix>(re, im, h, t, w);
        RadixEdges<radix>(re, im, h, count, off, w);
        return;
    }
#endif
    for (Index t = 0; t < count; t += kLanes) RadixVector<radix>(re, im, h, t, w);
}

// The runs of twiddles a radix pass of stages l … needs at column t of a group: stage l at t;
// stage l + 1 at t and t + h; stage l + 2 at t, t + h, t + 2h and t + 3h.
template <int radix>
struct RunStarts {
    static constexpr int count = radix - 1;
    int stage[7];
    Index offset[7];
    RunStarts(int l, Index h)
    {
        int r = 0;
        for (int s = 0; (2 << s) <= radix; ++s)
            for (Index k = 0; k < (Index(1) << s); ++k, ++r) {
                stage[r] = l + s;
                offset[r] = k * h;
            }
    }
};

// ---- tiles: sorting with stages 1 to 5 ----------------------------------------------------------

constexpr Index kSide = Index(1) << kTileBits;
constexpr Index kTile = kSide * kSide;

// Stages 1 to 3 on the rows of the buffer `from`, written to the buffer `to` (both re rows, then
// im rows). In the unsorted order, stage 1 pairs rows whose indices differ in bit 4, stage 2 in
// bit 3, stage 3 in bit 2; for the 8 rows a = 4k + lo of one lo, those are the bits of k, so the
// rows go through the radix-8 kernel in the order of reverse(k).
KIVRA_FFT_INLINE void TileFirstStages(const float* from, float* to, const CW* tw)
{
    for (Index lo = 0; lo < 4; ++lo)
        for (Index c = 0; c < kSide; c += kLanes) {
            CF x[8];
#pragma GCC unroll 8
            for (Index k = 0; k < 8; ++k) {
                const Index a = 4 * Reverse(k, 3) + lo;
                x[k] = {LoadV(from + a * kSide + c), LoadV(from + kTile + a * kSide + c)};
            }
            Radix8(x, tw);
#pragma GCC unroll 8
            for (Index k = 0; k < 8; ++k) {
                const Index a = 4 * Reverse(k, 3) + lo;
                StoreV(to + a * kSide + c, x[k].r);
                StoreV(to + kTile + a * kSide + c, x[k].i);
            }
        }
}

// Stages 4 and 5 on the rows of `from`: the 4 rows a = 4k … 4k + 3 of one k. Row a goes to row
// reverse(a) of `to`, so that the tile's transpose is its sorted order.
KIVRA_FFT_INLINE void TileLastStages(const float* from, float* to, const Work& w)
{
    for (Index k = 0; k < 8; ++k) {
        const Index rk = Reverse(k, 3);
        const CW tw[3] = {{BroadcastV(StageRe(w, 4)[rk]), BroadcastV(StageIm(w, 4)[rk])},
                          {BroadcastV(StageRe(w, 5)[rk]), BroadcastV(StageIm(w, 5)[rk])},
                          {BroadcastV(StageRe(w, 5)[8 + rk]), BroadcastV(StageIm(w, 5)[8 + rk])}};
        // Rows 4k, 4k + 1, 4k + 2, 4k + 3 are positions 0, 2, 1, 3 of the sorted group.
        const Index rows[4] = {4 * k, 4 * k + 2, 4 * k + 1, 4 * k + 3};
        Index slots[4];
        for (int j = 0; j < 4; ++j) slots[j] = Reverse(rows[j], kTileBits);
        for (Index c = 0; c < kSide; c += kLanes) {
            CF x[4];
#pragma GCC unroll 4
            for (int j = 0; j < 4; ++j)
                x[j] = {LoadV(from + rows[j] * kSide + c), LoadV(from + kTile + rows[j] * kSide + c)};
            Radix4(x, tw);
#pragma GCC unroll 4
            for (int j = 0; j < 4; ++j) {
                StoreV(to + slots[j] * kSide + c, x[j].r);
                StoreV(to + kTile + slots[j] * kSide + c, x[j].i);
            }
        }
    }
}

KIVRA_FFT_INLINE void Transpose8(v8f* r)
{
    const v8f t0 = __builtin_shufflevector(r[0], r[1], 0, 8, 1, 9, 4, 12, 5, 13);
    const v8f t1 = __builtin_shufflevector(r[0], r[1], 2, 10, 3, 11, 6, 14, 7, 15);
    const v8f t2 = __builtin_shufflevector(r[2], r[3], 0, 8, 1, 9, 4, 12, 5, 13);
    const v8f t3 = __builtin_shufflevector(r[2], r[3], 2, 10, 3, 11, 6, 14, 7, 15);
    const v8f t4 = __builtin_shufflevector(r[4], r[5], 0, 8, 1, 9, 4, 12, 5, 13);
    const v8f t5 = __builtin_shufflevector(r[4], r[5], 2, 10, 3, 11, 6, 14, 7, 15);
    const v8f t6 = __builtin_shufflevector(r[6], r[7], 0, 8, 1, 9, 4, 12, 5, 13);
    const v8f t7 = __builtin_shufflevector(r[6], r[7], 2, 10, 3, 11, 6, 14, 7, 15);
    const v8f u0 = __builtin_shufflevector(t0, t2, 0, 1, 8, 9, 4, 5, 12, 13);
    const v8f u1 = __builtin_shufflevector(t0, t2, 2, 3, 10, 11, 6, 7, 14, 15);
    const v8f u2 = __builtin_shufflevector(t1, t3, 0, 1, 8, 9, 4, 5, 12, 13);
    const v8f u3 = __builtin_shufflevector(t1, t3, 2, 3, 10, 11, 6, 7, 14, 15);
    const v8f u4 = __builtin_shufflevector(t4, t6, 0, 1, 8, 9, 4, 5, 12, 13);
    const v8f u5 = __builtin_shufflevector(t4, t6, 2, 3, 10, 11, 6, 7, 14, 15);
    const v8f u6 = __builtin_shufflevector(t5, t7, 0, 1, 8, 9, 4, 5, 12, 13);
    const v8f u7 = __builtin_shufflevector(t5, t7, 2, 3, 10, 11, 6, 7, 14, 15);
    r[0] = __builtin_shufflevector(u0, u4, 0, 1, 2, 3, 8, 9, 10, 11);
    r[1] = __builtin_shufflevector(u1, u5, 0, 1, 2, 3, 8, 9, 10, 11);
    r[2] = __builtin_shufflevector(u2, u6, 0, 1, 2, 3, 8, 9, 10, 11);
    r[3] = __builtin_shufflevector(u3, u7, 0, 1, 2, 3, 8, 9, 10, 11);
    r[4] = __builtin_shufflevector(u0, u4, 4, 5, 6, 7, 12, 13, 14, 15);
    r[5] = __builtin_shufflevector(u1, u5, 4, 5, 6, 7, 12, 13, 14, 15);
    r[6] = __builtin_shufflevector(u2, u6, 4, 5, 6, 7, 12, 13, 14, 15);
    r[7] = __builtin_shufflevector(u3, u7, 4, 5, 6, 7, 12, 13, 14, 15);
}

typedef float v16f __attribute__((vector_size(64)));

// Stores a row of 32 values (two halves) at `to`. Where the arrays start off a cache line, a row
// covers parts of three lines: with AVX-512 it goes as one whole line and two masked parts, none
// of them split across two lines (split stores made the tile pass a fifth slower, and one row in
// 32 would straddle two pages).
struct RowStore {
#if defined(__AVX512F__)
    explicit RowStore(const float* array)
        : off(std::uintptr_t(array) % sizeof(float) == 0 ? int(std::uintptr_t(array) / sizeof(float) % 16) : 0),
          head(__mmask16(0xFFFFu << off)), tail(__mmask16((1u << off) - 1))
    {
        alignas(64) std::int32_t r[16], j[16];
        for (int k = 0; k < 16; ++k) {
            r[k] = (k - off) & 15;
            j[k] = k < off ? 16 - off + k : 16 + k - off;
        }
        rotate = _mm512_load_si512(r);
        join = _mm512_load_si512(j);
    }
    KIVRA_FFT_INLINE void operator()(float* to, const v16f& first, const v16f& second) const
    {
        if (off == 0) {
            std::memcpy(to, &first, sizeof first);
            std::memcpy(to + 16, &second, sizeof second);
            return;
        }
        // (The zero-masking permutes with every lane selected: the plain ones trip GCC 12's
        // uninitialised-value warning, as the conversions above do.)
        float* line = to - off;
        _mm512_mask_storeu_ps(line, head, _mm512_maskz_permutexvar_ps(__mmask16(0xFFFF), rotate, __m512(first)));
        _mm512_storeu_ps(line + 16, _mm512_permutex2var_ps(__m512(first), join, __m512(second)));
        _mm512_mask_storeu_ps(line + 32, tail, _mm512_maskz_permutexvar_ps(__mmask16(0xFFFF), rotate, __m512(second)));
    }
    int off;   // the array's first value, in values past a line boundary
    __mmask16 head, tail;
    __m512i rotate, join;
#else
    explicit RowStore(const float*) {}
    KIVRA_FFT_INLINE void operator()(float* to, const v16f& first, const v16f& second) const
    {
        std::memcpy(to, &first, sizeof first);
        std::memcpy(to + 16, &second, sizeof second);
    }
#endif
};

// Writes the buffer (re rows, then im rows) transposed at re/im (rows `stride` apart): column c
// of the buffer becomes row reverse(c), and the sorted tile is the buffer's transpose.
KIVRA_FFT_INLINE void TileWrite(const float* from, float* re, float* im, Index stride, const RowStore* stores)
{
    static_assert(kSide == 32, "a row is two vectors of 16");
    for (Index cb = 0; cb < kSide; cb += 8) {
        Index rows[8];
        for (Index k = 0; k < 8; ++k) rows[k] = Reverse(cb + k, kTileBits) * stride;
        for (int part = 0; part < 2; ++part) {
            float* x = part == 0 ? re : im;
            const float* f = from + part * kTile;
            v16f halves[2][8];
            for (Index half = 0; half < 2; ++half) {
                const Index ab = 16 * half;
                v8f r[8], q[8];
#pragma GCC unroll 8
                for (Index k = 0; k < 8; ++k) {
                    std::memcpy(&r[k], f + (ab + k) * kSide + cb, sizeof r[k]);
                    std::memcpy(&q[k], f + (ab + 8 + k) * kSide + cb, sizeof q[k]);
                }
                Transpose8(r);
                Transpose8(q);
#pragma GCC unroll 8
                for (Index k = 0; k < 8; ++k)
                    halves[half][k] =
                        __builtin_shufflevector(r[k], q[k], 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
            }
#pragma GCC unroll 8
            for (Index k = 0; k < 8; ++k) stores[part](x + rows[k], halves[0][k], halves[1][k]);
        }
    }
}

// Copies a tile's rows (`stride` apart) into the buffer `to` (re rows, then im rows), each cache
// line read once and whole. Rows a power of two apart share their cache sets, so stages run on the
// tile where it lies would have its lines pushed out of the cache between the vectors they hold.
KIVRA_FFT_INLINE void TileGather(const float* re, const float* im, Index stride, float* to)
{
#pragma GCC unroll 4
    for (Index a = 0; a < kSide; ++a) {
        std::memcpy(to + a * kSide, re + a * stride, kSide * sizeof(float));
        std::memcpy(to + kTile + a * kSide, im + a * stride, kSide * sizeof(float));
    }
}

KIVRA_FFT_INLINE void Tiles(float* re, float* im, int bits, const Work& w)
{
    const int middleBits = bits - 2 * kTileBits;
    const Index stride = Index(1) << (bits - kTileBits);
    const CW tw[7] = {{BroadcastV(StageRe(w, 1)[0]), BroadcastV(StageIm(w, 1)[0])},
                      {BroadcastV(StageRe(w, 2)[0]), BroadcastV(StageIm(w, 2)[0])},
                      {BroadcastV(StageRe(w, 2)[1]), BroadcastV(StageIm(w, 2)[1])},
                      {BroadcastV(StageRe(w, 3)[0]), BroadcastV(StageIm(w, 3)[0])},
                      {BroadcastV(StageRe(w, 3)[1]), BroadcastV(StageIm(w, 3)[1])},
                      {BroadcastV(StageRe(w, 3)[2]), BroadcastV(StageIm(w, 3)[2])},
                      {BroadcastV(StageRe(w, 3)[3]), BroadcastV(StageIm(w, 3)[3])}};
    const RowStore stores[2] = {RowStore(re), RowStore(im)};
    float* staged = w.tiles;
    float* sorted = w.tiles + 2 * kTile;
    float* gathered = w.tiles + 4 * kTile;
    // A tile's rows lie in 32 pages of each array, and those pages are shared by the tiles whose m
    // agree in all but the 5 low bits; its partner's pages by those whose m agree in all but the
    // 5 high bits. Running through m with its 4 high and 4 low bits innermost keeps both sorts of
    // pages in the translation buffer while they are used.
    const int sideBits = middleBits >= 8 ? 4 : 0;
    for (Index i = 0; i < (Index(1) << middleBits); ++i) {
        const Index inner = i & ((Index(1) << (2 * sideBits)) - 1), outer = i >> (2 * sideBits);
        const Index m = sideBits > 0 ? ((inner >> sideBits) << (middleBits - sideBits)) | (outer << sideBits) |
                                              (inner & ((Index(1) << sideBits) - 1))
                                        : i;
        const Index rm = Reverse(m, middleBits);
        if (rm < m) continue;
        float* reM = re + (m << kTileBits);
        float* imM = im + (m << kTileBits);
        float* reRm = re + (rm << kTileBits);
        float* imRm = im + (rm << kTileBits);
        // The tile of m, copied out and taken through; then the tile of rm, copied out so that
        // m's result can go to its place at once, and taken through in turn.
        TileGather(reM, imM, stride, gathered);
        TileFirstStages(gathered, staged, tw);
        TileLastStages(staged, sorted, w);
        if (rm == m) {
            TileWrite(sorted, reM, imM, stride, stores);
            continue;
        }
        TileGather(reRm, imRm, stride, gathered);
        TileWrite(sorted, reRm, imRm, stride, stores);
        TileFirstStages(gathered, staged, tw);
        TileLastStages(staged, sorted, w);
        TileWrite(sorted, reM, imM, stride, stores);
    }
}

// ---- blocks and the larger stages ---------------------------------------------------------------

// How many stages each pass of `stages` consecutive stages takes: threes, and twos for the rest.
KIVRA_FFT_INLINE int NextPass(int remaining)
{
    if (remaining == 1) return 1;
    if (remaining == 2 || remaining == 4) return 2;
    return 3;
}

template <int radix>
KIVRA_FFT_INLINE void BlockPass(float* re, float* im, Index len, int l, const Work& w)
{
    const Index h = Index(1) << (l - 1);
    const RunStarts<radix> starts(l, h);
    for (Index g = 0; g < len; g += radix * h) {
        Runs runs;
        for (int r = 0; r < starts.count; ++r) {
            runs.re[r] = StageRe(w, starts.stage[r]) + starts.offset[r];
            runs.im[r] = StageIm(w, starts.stage[r]) + starts.offset[r];
        }
        RadixColumns<radix>(re + g, im + g, h, h, runs);
    }
}

// Stages `from` … `to` (from ≥ 6) of the block of 2^to values at re/im.
KIVRA_FFT_INLINE void BlockStages(float* re, float* im, int from, int to, const Work& w)
{
    const Index len = Index(1) << to;
    for (int l = from; l <= to;) {
        const int k = NextPass(to - l + 1);
        if (k == 3)
            BlockPass<8>(re, im, len, l, w);
        else if (k == 2)
            BlockPass<4>(re, im, len, l, w);
        else
            BlockPass<2>(re, im, len, l, w);
        l += k;
    }
}

KIVRA_FFT_INLINE Index CheckpointOffset(int l)
{
    return ((Index(1) << (l - 1)) - (Index(1) << kBlockStages)) / kCheckpoint;
}

KIVRA_FFT_INLINE void Transpose8(v8d* r)
{
    const v8d t0 = __builtin_shufflevector(r[0], r[1], 0, 8, 2, 10, 4, 12, 6, 14);
    const v8d t1 = __builtin_shufflevector(r[0], r[1], 1, 9, 3, 11, 5, 13, 7, 15);
    const v8d t2 = __builtin_shufflevector(r[2], r[3], 0, 8, 2, 10, 4, 12, 6, 14);
    const v8d t3 = __builtin_shufflevector(r[2], r[3], 1, 9, 3, 11, 5, 13, 7, 15);
    const v8d t4 = __builtin_shufflevector(r[4], r[5], 0, 8, 2, 10, 4, 12, 6, 14);
    const v8d t5 = __builtin_shufflevector(r[4], r[5], 1, 9, 3, 11, 5, 13, 7, 15);
    const v8d t6 = __builtin_shufflevector(r[6], r[7], 0, 8, 2, 10, 4, 12, 6, 14);
    const v8d t7 = __builtin_shufflevector(r[6], r[7], 1, 9, 3, 11, 5, 13, 7, 15);
    const v8d u0 = __builtin_shufflevector(t0, t2, 0, 1, 8, 9, 4, 5, 12, 13);
    const v8d u1 = __builtin_shufflevector(t1, t3, 0, 1, 8, 9, 4, 5, 12, 13);
    const v8d u2 = __builtin_shufflevector(t0, t2, 2, 3, 10, 11, 6, 7, 14, 15);
    const v8d u3 = __builtin_shufflevector(t1, t3, 2, 3, 10, 11, 6, 7, 14, 15);
    const v8d u4 = __builtin_shufflevector(t4, t6, 0, 1, 8, 9, 4, 5, 12, 13);
    const v8d u5 = __builtin_shufflevector(t5, t7, 0, 1, 8, 9, 4, 5, 12, 13);
    const v8d u6 = __builtin_shufflevector(t4, t6, 2, 3, 10, 11, 6, 7, 14, 15);
    const v8d u7 = __builtin_shufflevector(t5, t7, 2, 3, 10, 11, 6, 7, 14, 15);
    r[0] = __builtin_shufflevector(u0, u4, 0, 1, 2, 3, 8, 9, 10, 11);
    r[1] = __builtin_shufflevector(u1, u5, 0, 1, 2, 3, 8, 9, 10, 11);
    r[2] = __builtin_shufflevector(u2, u6, 0, 1, 2, 3, 8, 9, 10, 11);
    r[3] = __builtin_shufflevector(u3, u7, 0, 1, 2, 3, 8, 9, 10, 11);
    r[4] = __builtin_shufflevector(u0, u4, 4, 5, 6, 7, 12, 13, 14, 15);
    r[5] = __builtin_shufflevector(u1, u5, 4, 5, 6, 7, 12, 13, 14, 15);
    r[6] = __builtin_shufflevector(u2, u6, 4, 5, 6, 7, 12, 13, 14, 15);
    r[7] = __builtin_shufflevector(u3, u7, 4, 5, 6, 7, 12, 13, 14, 15);
}

// Makes twiddles [t0, t0 + kChunk) of each run (stage[r], starting at offset[r]) into the chunk
// buffers, run r at r·kChunk. Each stretch of kCheckpoint twiddles of each run starts from its
// checkpoint and goes on by the very recurrence of its stage; the runs advance side by side, one
// lane each, and the stretches as independent vectors.
template <int radix>
KIVRA_FFT_INLINE void MakeChunk(const RunStarts<radix>& starts, Index t0, const Work& w)
{
    constexpr int kStretches = int(kChunk / kCheckpoint);
    v8d ur[kStretches], ui[kStretches];
    v8d sr{1, 1, 1, 1, 1, 1, 1, 1}, si{0, 0, 0, 0, 0, 0, 0, 0};
    for (int q = 0; q < kStretches; ++q) {
        ur[q] = sr;
        ui[q] = si;
    }
    for (int r = 0; r < starts.count; ++r) {
        const int l = starts.stage[r];
        const Index at = CheckpointOffset(l) + (starts.offset[r] + t0) / kCheckpoint;
        for (int q = 0; q < kStretches; ++q) {
            ur[q][r] = w.checkRe[at + q];
            ui[q][r] = w.checkIm[at + q];
        }
        sr[r] = w.stepRe[l];
        si[r] = w.stepIm[l];
    }
    for (Index k = 0; k < kCheckpoint; k += 8)
        for (int q = 0; q < kStretches; ++q) {
            // Eight steps of one stretch (the other stretches' steps are independent of these, so
            // the processor overlaps them), turned so that each run's eight twiddles lie together.
            v8d re[8], im[8];
#pragma GCC unroll 8
            for (int s = 0; s < 8; ++s) {
                re[s] = ur[q];
                im[s] = ui[q];
                const v8d tr = ur[q];
                ur[q] = tr * sr - ui[q] * si;
                ui[q] = tr * si + ui[q] * sr;
            }
            Transpose8(re);
            Transpose8(im);
            for (int r = 0; r < starts.count; ++r) {
                std::memcpy(w.chunkRe + r * kChunk + q * kCheckpoint + k, &re[r], sizeof re[r]);
                std::memcpy(w.chunkIm + r * kChunk + q * kCheckpoint + k, &im[r], sizeof im[r]);
            }
        }
}

// Stages l … l + log2(radix) − 1 (all above kBlockStages) over all n values.
template <int radix>
KIVRA_FFT_INLINE void LargePass(float* re, float* im, Index n, int l, const Work& w)
{
    const Index h = Index(1) << (l - 1);
    const RunStarts<radix> starts(l, h);
    Runs runs;
    for (int r = 0; r < starts.count; ++r) {
        runs.re[r] = w.chunkRe + r * kChunk;
        runs.im[r] = w.chunkIm + r * kChunk;
    }
    for (Index t0 = 0; t0 < h; t0 += kChunk) {
        MakeChunk(starts, t0, w);
        for (Index g = 0; g < n; g += radix * h) RadixColumns<radix>(re + g + t0, im + g + t0, h, kChunk, runs);
    }
}

KIVRA_FFT_INLINE void Transform(float* re, float* im, int stages, const Work& w)
{
    if (stages < kTiledFrom) {
        if (stages < 8) {
            BitReverseSmall(re, im, Index(1) << stages);
        } else {
            BitReverseTiled4(re, stages);
            BitReverseTiled4(im, stages);
        }
        SmallStages(re, im, stages, w);
        return;
    }
    const Index n = Index(1) << stages;
    Tiles(re, im, stages, w);
    const int blockStages = stages < kBlockStages ? stages : kBlockStages;
    const Index block = Index(1) << blockStages;
    for (Index b = 0; b < n; b += block) BlockStages(re + b, im + b, kTileBits + 1, blockStages, w);
    for (int l = blockStages + 1; l <= stages;) {
        const int k = NextPass(stages - l + 1);
        if (k == 3)
            LargePass<8>(re, im, n, l, w);
        else if (k == 2)
            LargePass<4>(re, im, n, l, w);
        else
            LargePass<2>(re, im, n, l, w);
        l += k;
    }
}

} // namespace

#pragma GCC diagnostic pop

} // namespace spectrum::fftkernels
