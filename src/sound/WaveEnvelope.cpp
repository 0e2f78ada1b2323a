#include "sound/WaveEnvelope.h"

#include "platform/audio/SampleFormat.h"
#include "platform/audio/WaveFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {
constexpr std::size_t kBlockBytes = 1 << 22;

// The lowest and highest sample of each channel over a run of frames. The samples are taken as
// one flat row, 16 at a time in a vector (a whole number of frames, channels interleved); lane k
// of the vectors then belongs to channel k % channels.
constexpr int Lanes = 16;
using Vector16 = std::int16_t __attribute__((vector_size(Lanes * sizeof(std::int16_t))));
using Vector8 = std::uint8_t __attribute__((vector_size(Lanes)));
template <class Sample> struct VectorOf;
template <> struct VectorOf<std::int16_t> { using type = Vector16; };
template <> struct VectorOf<std::uint8_t> { using type = Vector8; };

template <class Sample>
void Scan(const Sample* row, std::int64_t count, int channels, std::int16_t* low, std::int16_t* high)
{
    using Vector = typename VectorOf<Sample>::type;
    Vector lo, hi;
    for (int k = 0; k < Lanes; ++k) {
        lo[k] = std::numeric_limits<Sample>::max();
        hi[k] = std::numeric_limits<Sample>::min();
    }
    std::int64_t i = 0;
    for (; i + Lanes <= count; i += Lanes) {
        Vector v;
        std::memcpy(&v, row + i, sizeof v);
        lo = v < lo ? v : lo;
        hi = v > hi ? v : hi;
    }
    for (int k = 0; i < count; ++i, ++k) {
        lo[k] = std::min(lo[k], row[i]);
        hi[k] = std::max(hi[k], row[i]);
    }
    for (int k = 0; k < Lanes; ++k) {
        const int c = k % channels;
        low[c] = std::min<std::int16_t>(low[c], lo[k]);
        high[c] = std::max<std::int16_t>(high[c], hi[k]);
    }
}
}

std::optional<WaveEnvelope> ComputeEnvelope(const EnvelopeJob& job, const std::atomic_bool& cancel)
{
    const SampleFormat format(job.bitsPerSample, job.floating);
    const bool wide = format.wide();
    const bool sixteen = job.bitsPerSample == 16 || wide;
    const int channels = job.channels == 2 ? 2 : 1;
    const int frameBytes = channels * (wide ? format.bytes() : sixteen ? 2 : 1);
    if (!format.known()) return std::nullopt;
    if (job.columns <= 0 || job.frames <= 0 || !(job.framesPerColumn > 0)) return std::nullopt;
    WaveFile file;
    if (file.Open(job.path) != 0) return std::nullopt;

    WaveEnvelope env;
    env.columns = job.columns;
    env.channels = channels;
    const std::size_t cells = std::size_t(job.columns) * std::size_t(channels);
    env.low.assign(cells, INT16_MAX);
    env.high.assign(cells, INT16_MIN);

    // The frames a unit covers end where the next one starts; frames past the last unit are not
    // drawn, so they are not read.
    auto boundary = [&](int x) {
        return std::min<std::int64_t>(job.frames, std::int64_t(std::floor(x * job.framesPerColumn)));
    };
    const std::int64_t lastFrame = boundary(job.columns);
    std::vector<unsigned char> block((kBlockBytes / std::size_t(frameBytes)) * std::size_t(frameBytes));
    // The wide formats are scanned on the 16-bit scale, converted a block at a time.
    std::vector<std::int16_t> scaled(wide ? block.size() / std::size_t(format.bytes()) : 0);
    int x = 0;
    std::int64_t nextBoundary = boundary(1);
    file.Seek(job.start);
    for (std::int64_t frame = 0; frame < lastFrame;) {
        if (cancel.load(std::memory_order_relaxed)) return std::nullopt;
        const std::int64_t count =
            std::min<std::int64_t>(lastFrame - frame, std::int64_t(block.size()) / frameBytes);
        file.Read(block.data(), std::size_t(count * frameBytes));
        if (wide) {
            const std::size_t samples = std::size_t(count * channels);
            for (std::size_t i = 0; i < samples; ++i)
                scaled[i] = std::int16_t(format.Raw16(block.data() + i * std::size_t(format.bytes())));
        }
        // The block in runs of frames of one unit each, each run in a tight loop per channel.
        for (std::int64_t done = 0; done < count;) {
            while (frame + done >= nextBoundary && x + 1 < job.columns) nextBoundary = boundary(++x + 1);
            const std::int64_t run = std::min(count - done, std::max<std::int64_t>(1, nextBoundary - frame - done));
            const unsigned char* p = block.data() + done * frameBytes;
            std::int16_t* low = env.low.data() + x * channels;
            std::int16_t* high = env.high.data() + x * channels;
            if (wide)
                Scan(scaled.data() + done * channels, run * channels, channels, low, high);
            else if (sixteen)   // little-endian data, as the machine's own
                Scan(reinterpret_cast<const std::int16_t*>(p), run * channels, channels, low, high);
            else
                Scan<std::uint8_t>(p, run * channels, channels, low, high);
            done += run;
        }
        frame += count;
    }
    // A unit that covered no frame takes the highest sample of the unit before it.
    for (int u = 0; u < job.columns; ++u) {
        for (int c = 0; c < channels; ++c) {
            const std::size_t cell = std::size_t(u * channels + c);
            if (env.low[cell] <= env.high[cell]) continue;
            const std::int16_t before = u > 0 ? env.high[cell - std::size_t(channels)] : std::int16_t(sixteen ? 0 : 128);
            env.low[cell] = env.high[cell] = before;
        }
    }
    return env;
}
