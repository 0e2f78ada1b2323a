#pragma once
// Writing a stretch of the open sound as a new WAV file: the selected clip, one channel or both,
// optionally through the soft-limited level curve (the "Paste in a new window" level slider).

#include "platform/audio/SampleFormat.h"
#include "platform/audio/SaveFailure.h"

#include <QString>
#include <cstdint>

class WaveFile;

// Which channel of a stereo sound is written: the window's option buttons Option1 "Both",
// Option3 "Left", Option2 "Right". A mono sound is always written whole.
enum class ChannelChoice { Both, Left, Right };

// Copies LenData sample frames of the open `source`, starting at the 1-based byte position
// InData, into a new WAV file `fname` (44-byte header, then the frames in file order).
// SampFreq and Nbits (8 or 16, or a wide format: the clip keeps it) describe the source, StMo is its channel mode ("Stereo" or
// anything else for mono). A stereo source with Left or Right gives a mono file of that channel.
//
// When scale1a is not exactly 1 every written sample goes through the level curve
//   16-bit: Round(atan(s * scale1a / 32768) * 32512 / (pi/2))
//    8-bit: Round(atan((s - 128) * scale1a / 128) * 128 / (pi/2) + 128)
// saturated at the sample type's limits (an 8-bit 255 at +45 dB stays 255); a wide sample v
// (full scale 1) becomes atan(v * scale1a) * (32512 / 32768) / (pi/2), the same curve.
//
// The file is written under a temporary name in the same folder and renamed over `fname` only
// when every byte is written, so a failed save leaves no half-written file and an older file of
// that name untouched; the source may even be `fname` itself. Bytes beyond the end of the source
// read as zeros, as the waveform reader sees them. A negative LenData writes no frames.
// Failures (the folder cannot be written, a data size beyond the 32-bit header field, a full
// disk) give a result whose Show() is "Error in Saving file: " + fname.
Outcome SaveWave(WaveFile& source, const QString& fname, std::int64_t InData,
                        std::int64_t LenData, std::int32_t SampFreq, SampleFormat Nbits,
                        const QString& StMo, float scale1a,
                        ChannelChoice channel = ChannelChoice::Both);
