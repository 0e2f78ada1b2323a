#include "platform/audio/GetWaveData.h"

#include "platform/audio/WaveFile.h"

#include <algorithm>
#include <vector>

void GetWaveData(std::span<float> first, std::span<float> second, WaveFile& file,
                 const QString& /*fileName*/, std::int64_t start, std::int32_t frameCount,
                 std::int32_t /*sampleRate*/, SampleFormat format, const QString& channelMode)
{
    const bool stereo = channelMode == QLatin1String("Stereo");
    const bool wide = format.wide();
    const bool sixteen = format.bits() == 16;
    const int sampleBytes = wide ? format.bytes() : sixteen ? 2 : 1;
    const int frameBytes = sampleBytes * (stereo ? 2 : 1);
    if (frameCount <= 0)
        return;

    // Only the frames that land in the first array are worth reading.
    const std::int64_t frames = std::min<std::int64_t>(frameCount, std::int64_t(first.size()));
    const std::int64_t framesPerBlock = (1 << 16) / frameBytes;
    std::vector<unsigned char> block(std::size_t(framesPerBlock * frameBytes));
    file.Seek(start);
    for (std::int64_t k0 = 0; k0 < frames; k0 += framesPerBlock) {
        const std::int64_t n = std::min(framesPerBlock, frames - k0);
        file.Read(block.data(), std::size_t(n * frameBytes));
        const unsigned char* b = block.data();
        for (std::int64_t j = 0; j < n; ++j, b += frameBytes) {
            const std::size_t k = std::size_t(k0 + j);
            float left;
            float right = 0;
            if (wide) {
                left = float(format.Normalised(b) * 32768.0);
                if (stereo)
                    right = float(format.Normalised(b + sampleBytes) * 32768.0);
            } else if (sixteen) {
                left = std::int16_t(std::uint16_t(b[0] | (b[1] << 8)));
                if (stereo)
                    right = std::int16_t(std::uint16_t(b[2] | (b[3] << 8)));
            } else {
                left = b[0];
                if (stereo)
                    right = b[1];
            }
            first[k] = left;
            if (stereo && k < second.size())
                second[k] = right;
        }
    }
}
