#include "sound/SaveWave.h"

#include "general/General.h"
#include "platform/audio/SaveWaveHeader.h"
#include "platform/audio/WaveFile.h"

#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Frames copied per block: 64 KB of 16-bit stereo source.
constexpr std::int64_t kBlockFrames = 16384;
constexpr double kHalfPi = M_PI / 2;

std::int16_t level16(int s, double gain)
{
    const double out = general::Round(std::atan(s * gain / 32768.0) * 32512.0 / kHalfPi);
    return std::int16_t(std::clamp(out, -32768.0, 32767.0));
}

std::uint8_t level8(int s, double gain)
{
    // The curve approaches 0 and 256; the rounding reaches 256 from +45 dB on.
    const double out = general::Round(std::atan((s - 128) * gain / 128.0) * 128.0 / kHalfPi + 128.0);
    return std::uint8_t(std::clamp(out, 0.0, 255.0));
}
}

Outcome SaveWave(WaveFile& source, const QString& fname, std::int64_t InData,
                        std::int64_t LenData, std::int32_t SampFreq, SampleFormat Nbits,
                        const QString& StMo, float scale1a, ChannelChoice channel)
{
    if (!Nbits.known())
        return SaveFailure(fname, QStringLiteral("unsupported sample width"));
    const bool wide = Nbits.wide();
    if (!std::isfinite(scale1a))
        return SaveFailure(fname, QStringLiteral("the level is not a number"));
    if (!source.IsOpen())
        return SaveFailure(fname, QStringLiteral("the source sound is not open"));

    const int sourceChannels = StMo == QLatin1String("Stereo") ? 2 : 1;
    const bool oneOfTwo = sourceChannels == 2 && channel != ChannelChoice::Both;
    const int channelsOut = oneOfTwo ? 1 : sourceChannels;
    const int bytesPerSample = Nbits.bytes();
    const std::int64_t frames = std::max<std::int64_t>(LenData, 0);

    const std::optional<QByteArray> header = WaveHeaderBytesFor(channelsOut, SampFreq, Nbits, frames);
    if (!header)
        return SaveFailure(fname, QStringLiteral("the data size does not fit a WAV file"));

    QSaveFile out(fname);
    if (!out.open(QIODevice::WriteOnly))
        return SaveFailure(fname, out.errorString());
    if (out.write(*header) != header->size()) {
        out.cancelWriting();
        return SaveFailure(fname, out.errorString());
    }

    const std::int64_t inFrameBytes = std::int64_t(sourceChannels) * bytesPerSample;
    const std::int64_t outFrameBytes = std::int64_t(channelsOut) * bytesPerSample;
    // The sample of a source frame that is written when only one channel is: left is the first.
    const std::int64_t pick = channel == ChannelChoice::Right ? bytesPerSample : 0;
    const bool level = scale1a != 1.0f;
    const double gain = double(scale1a);

    // The curve as a table over every possible sample value: one atan per value, not per sample.
    std::vector<std::uint16_t> curve;
    if (level && !wide) {
        curve.resize(bytesPerSample == 2 ? 65536 : 256);
        for (std::size_t v = 0; v < curve.size(); ++v)
            curve[v] = bytesPerSample == 2 ? std::uint16_t(level16(std::int16_t(std::uint16_t(v)), gain))
                                           : level8(int(v), gain);
    }

    std::vector<unsigned char> in(std::size_t(kBlockFrames * inFrameBytes));
    std::vector<unsigned char> block(std::size_t(kBlockFrames * outFrameBytes));
    source.Seek(InData);
    for (std::int64_t done = 0; done < frames;) {
        const std::int64_t n = std::min(kBlockFrames, frames - done);
        source.Read(in.data(), std::size_t(n * inFrameBytes));
        const unsigned char* from = in.data();
        unsigned char* to = block.data();
        if (oneOfTwo) {
            for (std::int64_t f = 0; f < n; ++f, from += inFrameBytes, to += bytesPerSample)
                std::copy_n(from + pick, bytesPerSample, to);
        } else {
            std::copy_n(from, n * inFrameBytes, to);
        }
        const std::int64_t samples = n * channelsOut;
        if (level && wide) {
            for (std::int64_t i = 0; i < samples; ++i) {
                unsigned char* p = block.data() + i * bytesPerSample;
                const double v = std::atan(Nbits.Normalised(p) * gain) * (32512.0 / 32768.0) / kHalfPi;
                Nbits.Encode(v, p);
            }
        } else if (level && bytesPerSample == 2) {
            for (std::int64_t i = 0; i < samples; ++i) {
                unsigned char* p = block.data() + 2 * i;
                const std::uint16_t v = curve[std::uint16_t(p[0] | (p[1] << 8))];
                p[0] = std::uint8_t(v & 0xff);
                p[1] = std::uint8_t(v >> 8);
            }
        } else if (level) {
            for (std::int64_t i = 0; i < samples; ++i)
                block[std::size_t(i)] = std::uint8_t(curve[block[std::size_t(i)]]);
        }
        const qint64 bytes = n * outFrameBytes;
        if (out.write(reinterpret_cast<const char*>(block.data()), bytes) != bytes) {
            out.cancelWriting();
            return SaveFailure(fname, out.errorString());
        }
        done += n;
    }
    if (!out.commit())
        return SaveFailure(fname, out.errorString());
    return Outcome::Success();
}
