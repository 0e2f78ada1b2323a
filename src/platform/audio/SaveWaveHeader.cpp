#include "platform/audio/SaveWaveHeader.h"

#include "general/General.h"

#include <QIODevice>
#include <QtEndian>
#include <limits>

namespace {
constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();

void put32(QByteArray& b, std::uint32_t v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}
void put16(QByteArray& b, std::uint16_t v)
{
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}
}

namespace {
std::optional<QByteArray> HeaderBytes(int channels, std::int32_t sampleRate, int bits, int tag,
                                      std::int64_t frames)
{
    if (channels < 1 || channels > 2 || sampleRate < 0 || frames < 0)
        return std::nullopt;
    const std::int64_t blockAlign = std::int64_t(general::Round(bits / 8.0 * channels));
    const double byteRate = general::Round(bits / 8.0 * channels * double(sampleRate));
    if (byteRate > double(kLargest)) return std::nullopt;
    // frames x blockAlign cannot overflow 64 bits before the test: blockAlign is at most 16.
    if (frames > kLargest / blockAlign) return std::nullopt;
    const std::int64_t dataSize = frames * blockAlign;
    if (dataSize > kLargest - 36) return std::nullopt;

    QByteArray h;
    h.reserve(44);
    h += "RIFF";
    put32(h, std::uint32_t(36 + dataSize));
    h += "WAVE";
    h += "fmt ";
    put32(h, 16);
    put16(h, std::uint16_t(tag));
    put16(h, std::uint16_t(channels));
    put32(h, std::uint32_t(sampleRate));
    put32(h, std::uint32_t(std::int64_t(byteRate)));
    put16(h, std::uint16_t(blockAlign));
    put16(h, std::uint16_t(bits));
    h += "data";
    put32(h, std::uint32_t(dataSize));
    return h;
}
}

std::optional<QByteArray> WaveHeaderBytes(int channels, std::int32_t sampleRate, int bits,
                                          std::int64_t frames)
{
    if (bits != 8 && bits != 16) return std::nullopt;
    return HeaderBytes(channels, sampleRate, bits, 1, frames);
}

std::optional<QByteArray> WaveHeaderBytesFor(int channels, std::int32_t sampleRate, SampleFormat format,
                                             std::int64_t frames)
{
    if (!format.known()) return std::nullopt;
    return HeaderBytes(channels, sampleRate, format.bits(), format.floating() ? 3 : 1, frames);
}

bool WriteWaveHeader(QIODevice& out, int channels, std::int32_t sampleRate, int bits,
                     std::int64_t frames)
{
    const std::optional<QByteArray> header = WaveHeaderBytes(channels, sampleRate, bits, frames);
    return header && out.write(*header) == header->size();
}
