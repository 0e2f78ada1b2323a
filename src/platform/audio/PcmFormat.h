#pragma once
// The format of uncompressed sound as the recorder keeps it: samples per second, channels (1 or 2)
// and bits per sample (8: unsigned bytes centred on 128; 16: signed little-endian; 32, which only
// video capture asks of the input: signed little-endian).
#include <cstdint>

struct PcmFormat {
    std::int32_t sampleRate = 11025;
    int channels = 1;
    int bitsPerSample = 8;

    // Bytes of one sample frame (all channels).
    int blockAlign() const { return bitsPerSample / 8 * channels; }
    std::int64_t bytesPerSecond() const { return std::int64_t(blockAlign()) * sampleRate; }
    bool operator==(const PcmFormat&) const = default;
};
