#pragma once
// The fast Fourier transform of the spectrum window: an in-place radix-2 decimation-in-time
// transform of REX + j·IMX with bit-reversal sorting, forward direction, unscaled:
//     X(k) = sum over t of x(t)·e^(-j2πkt/N),  k = 0 … N − 1.
//
// The arithmetic is fixed, so every build and every processor gives the same bits:
//  - the twiddle factor of each stage comes from the recurrence w ← w·(cos(π/h) − j·sin(π/h)),
//    starting from w = 1, computed in double precision;
//  - a butterfly computes t = x(ip)·w in double precision (x(ip) widened from single), and stores
//    x(i) − t and x(i) + t rounded to single precision.
// The order in which independent butterflies run is free; this is what makes the transform fast
// (cache-sized blocks, vector kernels). Inputs are assumed finite: with NaNs in the data the
// result is NaN wherever a straightforward loop would give NaN, but the NaN payload bits may
// differ.

#include <cstdint>

namespace spectrum {

// Which machine code runs the butterflies. Best takes the widest the processor has: AVX-512,
// then AVX2, then Portable (baseline x86-64, SSE2). A set the processor lacks falls back to the
// next narrower one. All give bit-identical results.
enum class FftKernels { Best, Avx512, Avx2, Portable };

// Whether this build and this processor can run `kernels` (Best and Portable always can).
bool FftKernelsAvailable(FftKernels kernels);
// The set that runs when `requested` is asked for.
FftKernels ChosenFftKernels(FftKernels requested);

// Transforms the first Nfft values of REX (real parts) and IMX (imaginary parts) in place, where
// Nfft, returned in `Nfft`, is the largest power of two not above n (n values are available in
// each array; the values from Nfft on are left untouched). n < 1 gives Nfft = 0 and changes
// nothing. Stereo sound goes in as one complex signal: left samples in REX, right samples in IMX.
// The twiddle factors of each length are worked out on its first transform and kept (up to
// 32 × min(Nfft, 32768) + Nfft / 4 bytes); each call also needs about 56 KiB of scratch memory.
// Throws std::bad_alloc, with the data untouched, when the memory cannot be had.
void fft(float* REX, float* IMX, std::int32_t n, std::int32_t& Nfft, FftKernels kernels = FftKernels::Best);

} // namespace spectrum
