#pragma once
// The whole-file reading path of the spectrum: reads the header as loading does, asks before
// taking more than 2566000 frames, and reads every sample into two float arrays (left or mono,
// and right or zeros), ready for the transform.

#include "platform/ui/Prompts.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

struct WaveSamples {
    bool ok = false;
    // The user declined the size question (any answer but Retry): no message, no spectrum.
    bool declined = false;
    // On failure: the error number to show, 0 for a rejected file (channel count, sample width,
    // sample rate, block align, no "data" marker), errno for a file that cannot be opened,
    // ENODATA for a header cut short, ENOMEM when the arrays cannot be allocated.
    int errorNumber = 0;

    // Frames read: the file's frame count rounded down to a multiple of 4. The arrays have
    // frameCount + 1 elements (indices 0..frameCount).
    std::int32_t frameCount = 0;
    std::vector<float> first;    // left or mono samples
    std::vector<float> second;   // right samples, all zeros for mono

    std::int32_t sampleRate = 0;
    int bitsPerSample = 0;
    QString channelMode;         // "Stereo" or "Mono"
};

// Frames above this ask the user first.
constexpr std::int32_t FftFrameLimit = 2566000;

// The question asked when a file has more frames than FftFrameLimit: "Input data for FFT are
// too many !! Please select a portion smaller than2566000", titled "Too many data for FFT",
// with the buttons Abort, Retry and Ignore.
QString FftTooManyPrompt();
QString FftTooManyTitle();

using AskTooMany = std::function<Answer(const QString& prompt, const QString& title)>;

// Reads the whole file. askTooMany is called with the prompt and title above when the file has
// more than FftFrameLimit frames; only Answer::Retry goes on. Frames the header promises but the
// file does not hold are not read (the arrays cover the data that is really there).
WaveSamples GetWaveHeader(const QString& fileName, const AskTooMany& askTooMany);

// Two arrays of frames + 1 values each that the samples are read into, or nothing when they
// cannot be had (the reading then fails with ENOMEM).
struct SampleArrays {
    std::span<float> first, second;
};
using SampleArraysFor = std::function<std::optional<SampleArrays>(std::int32_t frames)>;

// The same reading into arrays the caller keeps (the spectrum's work space): the result's own
// arrays stay empty, and the caller's are filled as they would be, zeros in the second for mono.
WaveSamples GetWaveHeader(const QString& fileName, const AskTooMany& askTooMany,
                          const SampleArraysFor& arraysFor);
