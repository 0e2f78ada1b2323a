#pragma once
// The header of a WAV file as the analyser reads it. The chunk list of a RIFF/WAVE file is walked
// for the "fmt " and "data" chunks first, so any chunks before the data (a broadcast "bext",
// "LIST" tags) are stepped over. When that fails (no RIFF/WAVE markers, sizes that lead past the
// end), the "fmt " marker is looked for in the first 400 bytes, the format fields follow it, and
// the "data" marker is searched byte by byte after them.
//
// 8- and 16-bit samples are read as PCM whatever the format tag says. Wider samples are read by
// what the tag (or, for WAVE_FORMAT_EXTENSIBLE, the sub-format) says they are: 24- and 32-bit
// integers, 32- and 64-bit floats. RF64 and BW64 files (a "ds64" chunk with 64-bit sizes) are
// read like RIFF ones, with their data sizes taken from that chunk.

#include "platform/audio/SampleFormat.h"

#include <QString>
#include <cstdint>

class WaveFile;

// What made a file unreadable; None when the header was accepted.
enum class WaveFault {
    None,
    FileNotOpened,   // missing or unreadable (WaveHeader::systemError holds errno)
    Truncated,       // the file ends before the header is complete
    NoFmtMarker,     // no "fmt " in the first 400 bytes
    Channels,        // channel count other than 1 or 2
    BitsPerSample,   // sample width other than 8 or 16
    SampleRate,      // sample rate 0 or negative (every duration would divide by it)
    BlockAlign,      // block align 0 or negative (the frame count would divide by it)
    NoDataMarker,    // "data" not found by the byte-by-byte search
    Compressed,      // samples wider than 16 bits in a format other than PCM or float
    TooManyFrames,   // an RF64 file of more than 2^31 - 1 frames
};

struct WaveHeader {
    WaveFault fault = WaveFault::None;
    int systemError = 0;

    // The fields, in the order they are read; those after a rejected one are 0.
    std::int16_t formatTag = 0;      // read and ignored: every tag is read as PCM
    std::int16_t channels = 0;
    std::int32_t sampleRate = 0;
    std::int32_t byteRate = 0;       // read and ignored
    std::int16_t blockAlign = 0;
    std::int16_t bitsPerSample = 0;

    // What the samples are: the format tag, or the sub-format of WAVE_FORMAT_EXTENSIBLE (whose
    // valid bits are kept, the container being bitsPerSample), and how they are decoded.
    std::uint16_t formatCode = 0;
    bool extensible = false;
    std::int16_t validBits = 0;
    SampleFormat format;
    // An RF64 (or BW64) file: its sizes come from the "ds64" chunk.
    bool rf64 = false;

    // The data chunk's size as written (for RF64 the size in "ds64"), and the size the reader
    // works with: the field, but never more than the whole frames the file holds (a negative
    // 32-bit field, 0xFFFFFFFF from a streaming writer, stands for all of them).
    std::int64_t dataSizeField = 0;
    std::int64_t dataSize = 0;
    // 1-based file position of the first byte of sample data.
    std::int32_t dataStart = 0;

    bool ok() const { return fault == WaveFault::None; }
    bool stereo() const { return channels == 2; }
    // dataSize / blockAlign, rounded half to even.
    std::int32_t FrameCount() const;

    // Reads the header from an open file, starting at its first byte.
    static WaveHeader Read(WaveFile& file);
};

// What is wrong with a rejected file, in a line for the user ("compressed WAV (format 2) is not
// supported", "the file ends inside the header", ...); empty for an accepted one.
QString WaveFaultDetail(const WaveHeader& header);
