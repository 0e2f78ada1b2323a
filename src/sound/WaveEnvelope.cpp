#include "sound/WaveEnvelope.h"

#include "platform/audio/SampleFormat.h"
#include "platform/audio/WaveFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <semaphore>
#include <span>
#include <thread>

namespace {
// Blocks of at least 1 MB: the file reads them straight into the buffer (no copy of its own),
// and a few of them stay in the processor's caches between the reading and the scanning.
constexpr std::size_t kBlockBytes = 1 << 20;

// Reads a stretch of the file on a thread of its own, block after block, into a few buffers
// that the scanning hands back as it finishes them: the reading of the next blocks and the
// scanning of this one go on at the same time.
class ReadAhead {
public:
    // frameBytes-sized frames from the 1-based byte position start; frames past the end of the
    // file read as zeros.
    ReadAhead(WaveFile& file, std::int64_t start, std::int64_t frames, int frameBytes,
              const std::atomic_bool& cancel)
        : file_(file), start_(start), frames_(frames), frameBytes_(frameBytes), cancel_(cancel)
    {
        const std::size_t blockFrames = (kBlockBytes + std::size_t(frameBytes) - 1) / std::size_t(frameBytes);
        for (Block& b : blocks_) b.bytes.resize(blockFrames * std::size_t(frameBytes));
        thread_ = std::thread([this] { run(); });
    }
    ~ReadAhead()
    {
        stop_.store(true);
        free_.release(Buffers);   // wakes the reader if it waits for a buffer
        thread_.join();
    }
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next block's frames (empty after the last one); the block before is handed back.
    std::span<const unsigned char> Next()
    {
        if (holding_) free_.release();
        full_.acquire();
        holding_ = true;
        const Block& b = blocks_[next_++ % Buffers];
        return {b.bytes.data(), b.used};
    }

private:
    static constexpr int Buffers = 4;
    struct Block {
        std::vector<unsigned char> bytes;
        std::size_t used = 0;
    };

    void run()
    {
        file_.Seek(start_);
        std::int64_t frame = 0;
        for (std::size_t i = 0;; ++i) {
            free_.acquire();
            if (stop_.load()) return;
            Block& b = blocks_[i % Buffers];
            const std::int64_t count = cancel_.load(std::memory_order_relaxed)
                                           ? 0
                                           : std::min<std::int64_t>(frames_ - frame, std::int64_t(b.bytes.size()) / frameBytes_);
            b.used = std::size_t(count * frameBytes_);
            if (count > 0) file_.Read(b.bytes.data(), b.used);
            frame += count;
            full_.release();
            if (count == 0) return;
        }
    }

    WaveFile& file_;
    const std::int64_t start_, frames_;
    const int frameBytes_;
    const std::atomic_bool& cancel_;
    std::array<Block, Buffers> blocks_;
    std::counting_semaphore<> free_{Buffers};
    std::counting_semaphore<> full_{0};
    std::atomic_bool stop_{false};
    std::size_t next_ = 0;
    bool holding_ = false;
    std::thread thread_;
};

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
    ReadAhead reader(file, job.start, lastFrame, frameBytes, cancel);
    // The wide formats are scanned on the 16-bit scale, converted a block at a time.
    std::vector<std::int16_t> scaled;
    int x = 0;
    std::int64_t nextBoundary = boundary(1);
    for (std::int64_t frame = 0; frame < lastFrame;) {
        if (cancel.load(std::memory_order_relaxed)) return std::nullopt;
        const std::span<const unsigned char> block = reader.Next();
        const std::int64_t count = std::int64_t(block.size()) / frameBytes;
        if (count == 0) return std::nullopt;   // cancelled while reading
        if (wide) {
            const std::size_t samples = std::size_t(count * channels);
            scaled.resize(samples);
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
