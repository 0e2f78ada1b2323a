#include "platform/audio/GetWaveData.h"

#include "platform/audio/WaveFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
// Two 16-bit samples side by side, taken as one 32-bit value: the one at the lower address is
// the low half (little-endian data, as the machine), and each half comes out sign-extended by
// shifts alone, four pairs at a time, ready for the one instruction that makes floats of them.
using Int32x4 = std::int32_t __attribute__((vector_size(16)));
using Float4 = float __attribute__((vector_size(16)));

inline Float4 LowHalves(Int32x4 pairs) { return __builtin_convertvector((pairs << 16) >> 16, Float4); }
inline Float4 HighHalves(Int32x4 pairs) { return __builtin_convertvector(pairs >> 16, Float4); }
}

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

    // Only the frames that land in the first array are worth reading. Blocks of 1 MB go from
    // the file straight into the block (no copy of the file's own), and each is converted by a
    // loop of its own format.
    const std::int64_t frames = std::min<std::int64_t>(frameCount, std::int64_t(first.size()));
    const std::int64_t framesPerBlock = ((1 << 20) + frameBytes - 1) / frameBytes;
    const std::int64_t rightFrames = stereo ? std::min<std::int64_t>(frames, std::int64_t(second.size())) : 0;
    // Held as 16-bit values (the data is little-endian, as the machine), read as bytes too.
    std::vector<std::int16_t> block(std::size_t(std::min(framesPerBlock, frames) * frameBytes + 1) / 2);
    file.Seek(start);
    for (std::int64_t k0 = 0; k0 < frames; k0 += framesPerBlock) {
        const std::int64_t n = std::min(framesPerBlock, frames - k0);
        file.Read(block.data(), std::size_t(n * frameBytes));
        const unsigned char* b = reinterpret_cast<const unsigned char*>(block.data());
        float* left = first.data() + k0;
        // The right samples of this block that have a place in the second array.
        const std::int64_t r = std::clamp<std::int64_t>(rightFrames - k0, 0, n);
        float* right = second.data() + (r > 0 ? k0 : 0);
        if (wide) {
            for (std::int64_t j = 0; j < n; ++j, b += frameBytes) {
                left[j] = float(format.Normalised(b) * 32768.0);
                if (j < r) right[j] = float(format.Normalised(b + sampleBytes) * 32768.0);
            }
        } else if (sixteen && stereo) {
            const std::int16_t* v = block.data();
            std::int64_t j = 0;
            // Four frames at a time: the left and right samples apart, widened to floats.
            for (; j + 4 <= r; j += 4) {
                Int32x4 frames;
                std::memcpy(&frames, v + 2 * j, sizeof frames);
                const Float4 l = LowHalves(frames), rr = HighHalves(frames);
                std::memcpy(left + j, &l, sizeof l);
                std::memcpy(right + j, &rr, sizeof rr);
            }
            for (; j < r; ++j) {
                left[j] = v[2 * j];
                right[j] = v[2 * j + 1];
            }
            for (std::int64_t j = r; j < n; ++j) left[j] = v[2 * j];
        } else if (sixteen) {
            const std::int16_t* v = block.data();
            std::int64_t j = 0;
            // Eight samples at a time, as four pairs: the first of each pair, the second, then
            // the two put back in order.
            for (; j + 8 <= n; j += 8) {
                Int32x4 pairs;
                std::memcpy(&pairs, v + j, sizeof pairs);
                const Float4 even = LowHalves(pairs), odd = HighHalves(pairs);
                const Float4 a = __builtin_shufflevector(even, odd, 0, 4, 1, 5);
                const Float4 b = __builtin_shufflevector(even, odd, 2, 6, 3, 7);
                std::memcpy(left + j, &a, sizeof a);
                std::memcpy(left + j + 4, &b, sizeof b);
            }
            for (; j < n; ++j) left[j] = v[j];
        } else if (stereo) {
            for (std::int64_t j = 0; j < r; ++j) {
                left[j] = b[2 * j];
                right[j] = b[2 * j + 1];
            }
            for (std::int64_t j = r; j < n; ++j) left[j] = b[2 * j];
        } else {
            for (std::int64_t j = 0; j < n; ++j) left[j] = b[j];
        }
    }
}
