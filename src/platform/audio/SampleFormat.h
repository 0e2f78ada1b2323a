#pragma once
// How the samples of a WAV file are stored. The analyser's own layouts are 8-bit unsigned and
// 16-bit signed, read exactly as they always were; the wide ones (24-bit and 32-bit integers,
// 32-bit and 64-bit floats) are read into the same tables and drawings: their amplitude is the
// sample's true value (full scale = 1), and wherever the analyser works in 16-bit units (the
// trace's y, the envelope, the spectrum's raw values) a wide sample counts as value x 32768.
#include <cstdint>

enum class SampleEncoding { Unknown, Unsigned8, Signed16, Signed24, Signed32, Float32, Float64 };

class SampleFormat {
public:
    constexpr SampleFormat() = default;
    constexpr explicit SampleFormat(SampleEncoding encoding) : encoding_(encoding) {}
    // The integer layout of that many bits (8, 16, 24, 32), or a float of 32 or 64 bits.
    // Implicit, so the places that speak of "bits per sample" keep doing so for integer sounds.
    constexpr SampleFormat(int bits, bool floating = false) : encoding_(FromBits(bits, floating)) {}

    constexpr SampleEncoding encoding() const { return encoding_; }
    constexpr bool known() const { return encoding_ != SampleEncoding::Unknown; }
    constexpr bool floating() const
    {
        return encoding_ == SampleEncoding::Float32 || encoding_ == SampleEncoding::Float64;
    }
    // 8- and 16-bit: the analyser's own layouts, read and drawn as they always were.
    constexpr bool wide() const { return known() && bits() > 16; }
    constexpr int bits() const
    {
        switch (encoding_) {
        case SampleEncoding::Unsigned8: return 8;
        case SampleEncoding::Signed16: return 16;
        case SampleEncoding::Signed24: return 24;
        case SampleEncoding::Signed32:
        case SampleEncoding::Float32: return 32;
        case SampleEncoding::Float64: return 64;
        case SampleEncoding::Unknown: break;
        }
        return 0;
    }
    constexpr int bytes() const { return bits() / 8; }

    // The sample at p (little-endian) with full scale 1: 8-bit (b - 128) / 128, integers
    // value / 2^(bits-1), floats as stored (NaN reads as 0).
    double Normalised(const unsigned char* p) const;
    // The sample in 16-bit units, rounded and held to -32768..32767: the raw value itself for
    // 16-bit sounds, the byte (0..255) for 8-bit ones, value x 32768 for the wide formats.
    int Raw16(const unsigned char* p) const;
    // Writes a sample of full scale 1 at p, rounded and held to the format's range.
    void Encode(double normalised, unsigned char* p) const;

    friend constexpr bool operator==(SampleFormat a, SampleFormat b) { return a.encoding_ == b.encoding_; }

private:
    static constexpr SampleEncoding FromBits(int bits, bool floating)
    {
        if (floating) return bits == 32 ? SampleEncoding::Float32 : bits == 64 ? SampleEncoding::Float64 : SampleEncoding::Unknown;
        switch (bits) {
        case 8: return SampleEncoding::Unsigned8;
        case 16: return SampleEncoding::Signed16;
        case 24: return SampleEncoding::Signed24;
        case 32: return SampleEncoding::Signed32;
        default: return SampleEncoding::Unknown;
        }
    }
    SampleEncoding encoding_ = SampleEncoding::Unknown;
};
