#pragma once
// The spectrum of a sound: its samples (as the whole-file reader hands them) through the
// transform, turned into the bins that the spectrum window draws.
//
// With L = frameCount rounded down to a multiple of 4 and Nfft the largest power of two not above
// L, the first Nfft frames (left + j·right, or mono + j·0) are transformed; no window function, no
// zero padding. Bin i (1 ≤ i < Nfft) gets
//     xdata(i) = i × sampleRate / Nfft                     (Hz)
//     ydata(i) = √(re(i)² + im(i)²) / Nfft                  (squares and root in double)
// and bin 0 is forced to 0 Hz, magnitude 0, so the constant part (large for 8-bit sound) never
// shows. A sine of amplitude A on bin k of a mono sound gives A/2 there; identical stereo
// channels give √2 times the mono magnitudes.

#include "platform/audio/GetWaveHeader.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace spectrum {

enum class SpectrumError {
    None,
    TooFewFrames,    // fewer than 4 frames: there is nothing to transform
    ArraysTooShort,  // an array holds fewer than the frames it should
    OutOfMemory,     // the result arrays could not be allocated
};

struct SpectrumResult {
    SpectrumError error = SpectrumError::None;
    // The number shown in the error message box: 0 on success, EDOM for too few frames (the
    // transform length would be 2 to the power log2(0)), EINVAL for short arrays, ENOMEM.
    int errorNumber = 0;

    std::int32_t Nfft = 0;       // transform length
    std::vector<float> xdata;    // indices 0 … Nfft: frequency of bin i in Hz (xdata(Nfft) = 0)
    std::vector<float> ydata;    // indices 0 … Nfft: magnitude of bin i (ydata(Nfft) = 0)
    float peak = 0.0f;           // the largest ydata(i), i = 1 … Nfft − 1 (0 when all are 0)

    // What the spectrum window's Graphfft is given: the lowest quarter of the bins.
    std::int32_t ndata = 0;      // Nfft / 4 bins, indices 0 … ndata − 1
    float xinit = 0.0f;          // 0
    float xfinal = 0.0f;         // xdata(Nfft / 4) = sampleRate / 4
    float yinit = 0.0f;          // 0
    float yfinal = 0.0f;         // peak

    bool ok() const { return error == SpectrumError::None; }
};

// The spectrum computation. The program keeps one (Shared) whose arrays stay from one spectrum
// to the next: the largest sound needs some 40 MB of them, and taking and touching that much
// memory afresh for every spectrum cost more than the transform itself.
class SpectrumComputation {
public:
    // REX holds the left (or mono) samples, IMX the right samples; an empty IMX stands for all
    // zeros (mono). Both are used as the transform's work space, hence taken by value: move them
    // in. Each must hold at least frameCount rounded down to a multiple of 4 values.
    static SpectrumResult Compute(std::vector<float> REX, std::vector<float> IMX,
                                  std::int32_t frameCount, std::int32_t sampleRate);

    // The arrays to read a sound of `frames` frames into: frames + 1 values each, left (or
    // mono) samples in `first`, right samples (or zeros) in `second`; nothing when the memory
    // cannot be had. What they held before is left in them.
    std::optional<SampleArrays> Input(std::int32_t frames);
    // The spectrum of the samples in the arrays Input gave, as Compute gives it; the arrays are
    // the transform's work space. The result is kept here until the next Transform.
    const SpectrumResult& Transform(std::int32_t frameCount, std::int32_t sampleRate);

    // The program's one.
    static SpectrumComputation& Shared();

private:
    std::unique_ptr<float[]> re_, im_;
    std::size_t capacity_ = 0;   // values in each of re_ and im_
    std::size_t inputSize_ = 0;  // values handed out by the last Input
    SpectrumResult result_;
};

} // namespace spectrum
