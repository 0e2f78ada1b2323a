#include "platform/audio/SampleFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
std::uint32_t Le32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
std::uint64_t Le64(const unsigned char* p) { return std::uint64_t(Le32(p)) | (std::uint64_t(Le32(p + 4)) << 32); }
void Put(unsigned char* p, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) p[i] = std::uint8_t(v >> (8 * i));
}
}

double SampleFormat::Normalised(const unsigned char* p) const
{
    switch (encoding_) {
    case SampleEncoding::Unsigned8: return (double(p[0]) - 128.0) / 128.0;
    case SampleEncoding::Signed16: return std::int16_t(std::uint16_t(p[0] | (p[1] << 8))) / 32768.0;
    case SampleEncoding::Signed24: {
        // The three bytes as the top of a 32-bit word keep their sign.
        const std::int32_t v = std::int32_t((std::uint32_t(p[0]) << 8) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 24));
        return double(v >> 8) / 8388608.0;
    }
    case SampleEncoding::Signed32: return double(std::int32_t(Le32(p))) / 2147483648.0;
    case SampleEncoding::Float32: {
        const std::uint32_t bits = Le32(p);
        float f;
        std::memcpy(&f, &bits, 4);
        return std::isnan(f) ? 0.0 : double(f);
    }
    case SampleEncoding::Float64: {
        const std::uint64_t bits = Le64(p);
        double d;
        std::memcpy(&d, &bits, 8);
        return std::isnan(d) ? 0.0 : d;
    }
    case SampleEncoding::Unknown: break;
    }
    return 0.0;
}

int SampleFormat::Raw16(const unsigned char* p) const
{
    switch (encoding_) {
    case SampleEncoding::Unsigned8: return p[0];
    case SampleEncoding::Signed16: return std::int16_t(std::uint16_t(p[0] | (p[1] << 8)));
    default: break;
    }
    const double v = std::nearbyint(Normalised(p) * 32768.0);
    return int(std::clamp(v, -32768.0, 32767.0));
}

void SampleFormat::Encode(double normalised, unsigned char* p) const
{
    if (std::isnan(normalised)) normalised = 0;
    auto integer = [&](double fullScale) {
        return std::int64_t(std::clamp(std::nearbyint(normalised * fullScale), -fullScale, fullScale - 1));
    };
    switch (encoding_) {
    case SampleEncoding::Unsigned8: p[0] = std::uint8_t(integer(128.0) + 128); return;
    case SampleEncoding::Signed16: Put(p, std::uint64_t(integer(32768.0)), 2); return;
    case SampleEncoding::Signed24: Put(p, std::uint64_t(integer(8388608.0)), 3); return;
    case SampleEncoding::Signed32: Put(p, std::uint64_t(integer(2147483648.0)), 4); return;
    case SampleEncoding::Float32: {
        const float f = float(normalised);
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        Put(p, bits, 4);
        return;
    }
    case SampleEncoding::Float64: {
        std::uint64_t bits;
        std::memcpy(&bits, &normalised, 8);
        Put(p, bits, 8);
        return;
    }
    case SampleEncoding::Unknown: break;
    }
}
