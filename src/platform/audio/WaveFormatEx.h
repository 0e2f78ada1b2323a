#pragma once
// The audio format of a capture: the 18-byte wave format record (format tag, channels, samples
// per second, average bytes per second, block alignment, bits per sample, extra size), little
// endian, as the capture window takes and gives it. Only PCM (tag 1) is recorded.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

struct WaveFormatEx {
    static constexpr std::uint16_t Pcm = 1;
    static constexpr int RecordSize = 18;   // the record without extra bytes

    std::uint16_t formatTag = Pcm;
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSec = 44100;
    std::uint32_t avgBytesPerSec = 88200;
    std::uint16_t blockAlign = 2;
    std::uint16_t bitsPerSample = 16;
    std::uint16_t extraSize = 0;

    // A PCM format with its derived fields (block alignment, bytes per second) filled in.
    static WaveFormatEx Pcm16(std::uint32_t rate, std::uint16_t channels);
    static WaveFormatEx PcmOf(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits);

    // True for PCM of 8, 16 or 32 bits, 1 or 2 channels, 1000 to 384000 samples a second, whose
    // derived fields agree: the formats the capture file can hold.
    bool isRecordablePcm() const;

    // The record's bytes (18, extra size included) and back; nothing for fewer than 16 bytes
    // (a record without its extra-size field reads extra size 0).
    QByteArray toBytes() const;
    static std::optional<WaveFormatEx> FromBytes(const QByteArray& bytes);

    bool operator==(const WaveFormatEx&) const = default;
};
