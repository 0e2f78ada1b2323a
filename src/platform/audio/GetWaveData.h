#pragma once
// Reads sample frames of the open WAV file as raw values into float arrays: 8-bit samples as
// 0..255 (no offset removed), 16-bit samples as -32768..32767. Mono fills only the first array;
// stereo puts the left sample of frame k in first[k] and the right one in second[k]. The wide
// formats (24/32-bit, float) come on the same 16-bit scale: value x 32768, not rounded.

#include "platform/audio/SampleFormat.h"

#include <QString>
#include <cstdint>
#include <span>

class WaveFile;

// Reads frameCount frames from the 1-based byte position start; frames beyond the end of the
// file read as 0, indices beyond an array's size are not written. The file name and sample rate
// are passed along as the analyser passes them, and not used.
void GetWaveData(std::span<float> first, std::span<float> second, WaveFile& file,
                 const QString& fileName, std::int64_t start, std::int32_t frameCount,
                 std::int32_t sampleRate, SampleFormat format, const QString& channelMode);
