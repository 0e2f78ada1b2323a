#pragma once
// The 44-byte header of the WAV files the analyser writes: RIFF, a 16-byte PCM "fmt " chunk and
// the "data" chunk's size, all little-endian.

#include "platform/audio/SampleFormat.h"

#include <QByteArray>
#include <cstdint>
#include <optional>

class QIODevice;

// The header bytes for `frames` sample frames of `channels` (1 or 2) channels of `bits` (8 or 16)
// bits at `sampleRate`. Nothing when a field does not fit its 32-bit slot: the data size
// (frames x block align) and the RIFF size (36 + data size) must stay within the signed 32-bit
// range the analyser's reader takes them in, and so must the byte rate.
std::optional<QByteArray> WaveHeaderBytes(int channels, std::int32_t sampleRate, int bits,
                                          std::int64_t frames);

// The same 44-byte header for a clip of any sample format the analyser reads: the 8- and
// 16-bit ones exactly as above, 24- and 32-bit integers with format tag 1 (PCM), 32- and 64-bit
// floats with tag 3 (IEEE float).
std::optional<QByteArray> WaveHeaderBytesFor(int channels, std::int32_t sampleRate, SampleFormat format,
                                             std::int64_t frames);

// Writes that header at the device's current position. False when a field overflows (nothing is
// written then) or the device does not take all 44 bytes.
bool WriteWaveHeader(QIODevice& out, int channels, std::int32_t sampleRate, int bits,
                     std::int64_t frames);
