#include "sound/WaveEnvelope.h"

#include "platform/audio/SampleFormat.h"
#include "platform/audio/WaveFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>
#include <thread>

namespace {
// Blocks of 1 MB: the file reads them straight into the buffer (no copy of its own), the block
// is still mostly in the processor's caches when it is scanned, and the number of reads stays
// small (each read has a fixed cost in the system that smaller blocks pay more often).
constexpr std::size_t BlockBytes = 1 << 20;
// Pieces read side by side: no more than this, and none shorter than MinPieceBytes, where the
// thread would cost more than it saves.
constexpr int MostPieces = 4;
constexpr std::int64_t MinPieceBytes = 4 << 20;

// The lowest and highest sample of each channel over a run of frames. The samples are taken as
// one flat row, a vector at a time (a whole number of frames, channels interleaved); lane k of
// the vectors then belongs to channel k % channels. Four vectors go at once, each into a
// minimum and maximum of its own, so that no step waits for the one before it and the running
// values stay in registers. Built twice: 16-byte vectors for every x86-64 processor, 32-byte
// ones where the processor has AVX2.
template <class Sample, int Bytes> struct VectorOf;
template <> struct VectorOf<std::int16_t, 16> { using type = std::int16_t __attribute__((vector_size(16))); };
template <> struct VectorOf<std::uint8_t, 16> { using type = std::uint8_t __attribute__((vector_size(16))); };
template <> struct VectorOf<std::int16_t, 32> { using type = std::int16_t __attribute__((vector_size(32))); };
template <> struct VectorOf<std::uint8_t, 32> { using type = std::uint8_t __attribute__((vector_size(32))); };

template <class Sample, int Bytes>
[[gnu::always_inline]] inline void ScanWith(const Sample* row, std::int64_t count, int channels,
                                            std::int16_t* low, std::int16_t* high)
{
    using Vector = typename VectorOf<Sample, Bytes>::type;
    constexpr int Lanes = Bytes / int(sizeof(Sample));
    Vector lo0, hi0;
    for (int k = 0; k < Lanes; ++k) {
        lo0[k] = std::numeric_limits<Sample>::max();
        hi0[k] = std::numeric_limits<Sample>::min();
    }
    Vector lo1 = lo0, lo2 = lo0, lo3 = lo0, hi1 = hi0, hi2 = hi0, hi3 = hi0;
    std::int64_t i = 0;
    for (; i + 4 * Lanes <= count; i += 4 * Lanes) {
        Vector v0, v1, v2, v3;
        std::memcpy(&v0, row + i, sizeof v0);
        std::memcpy(&v1, row + i + Lanes, sizeof v1);
        std::memcpy(&v2, row + i + 2 * Lanes, sizeof v2);
        std::memcpy(&v3, row + i + 3 * Lanes, sizeof v3);
        lo0 = v0 < lo0 ? v0 : lo0;
        hi0 = v0 > hi0 ? v0 : hi0;
        lo1 = v1 < lo1 ? v1 : lo1;
        hi1 = v1 > hi1 ? v1 : hi1;
        lo2 = v2 < lo2 ? v2 : lo2;
        hi2 = v2 > hi2 ? v2 : hi2;
        lo3 = v3 < lo3 ? v3 : lo3;
        hi3 = v3 > hi3 ? v3 : hi3;
    }
    lo0 = lo1 < lo0 ? lo1 : lo0;
    lo2 = lo3 < lo2 ? lo3 : lo2;
    lo0 = lo2 < lo0 ? lo2 : lo0;
    hi0 = hi1 > hi0 ? hi1 : hi0;
    hi2 = hi3 > hi2 ? hi3 : hi2;
    hi0 = hi2 > hi0 ? hi2 : hi0;
    for (; i + Lanes <= count; i += Lanes) {
        Vector v;
        std::memcpy(&v, row + i, sizeof v);
        lo0 = v < lo0 ? v : lo0;
        hi0 = v > hi0 ? v : hi0;
    }
    for (int k = 0; i < count; ++i, ++k) {
        lo0[k] = std::min(lo0[k], row[i]);
        hi0[k] = std::max(hi0[k], row[i]);
    }
    for (int k = 0; k < Lanes; ++k) {
        const int c = k % channels;
        low[c] = std::min<std::int16_t>(low[c], lo0[k]);
        high[c] = std::max<std::int16_t>(high[c], hi0[k]);
    }
}

template <class Sample>
void ScanPortable(const Sample* row, std::int64_t count, int channels, std::int16_t* low, std::int16_t* high)
{
    ScanWith<Sample, 16>(row, count, channels, low, high);
}

#if defined(__x86_64__)
template <class Sample>
__attribute__((target("avx2"))) void ScanAvx2(const Sample* row, std::int64_t count, int channels,
                                              std::int16_t* low, std::int16_t* high)
{
    ScanWith<Sample, 32>(row, count, channels, low, high);
}

template <class Sample>
void Scan(const Sample* row, std::int64_t count, int channels, std::int16_t* low, std::int16_t* high)
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        ScanAvx2(row, count, channels, low, high);
    else
        ScanPortable(row, count, channels, low, high);
}
#else
template <class Sample>
void Scan(const Sample* row, std::int64_t count, int channels, std::int16_t* low, std::int16_t* high)
{
    ScanPortable(row, count, channels, low, high);
}
#endif

// What every piece shares: the job, its format and the envelope being filled.
struct Reduction {
    const EnvelopeJob& job;
    const std::atomic_bool& cancel;
    SampleFormat format;
    bool wide = false;
    bool sixteen = false;
    int channels = 1;
    int frameBytes = 1;
    WaveEnvelope& env;

    // The frames a unit covers end where the next one starts.
    std::int64_t Boundary(int x) const
    {
        return std::min<std::int64_t>(job.frames, std::int64_t(std::floor(x * job.framesPerColumn)));
    }

    // Units [first, end) from their own opening of the file, block after block. False when the
    // file cannot be opened or cancel became true.
    bool Piece(int first, int end) const
    {
        const std::int64_t from = Boundary(first), to = Boundary(end);
        if (from >= to) return true;
        WaveFile file;
        if (file.Open(job.path) != 0) return false;
        file.Seek(job.start + from * frameBytes);
        std::vector<unsigned char> block(BlockBytes / std::size_t(frameBytes) * std::size_t(frameBytes));
        // The wide formats are scanned on the 16-bit scale, converted a block at a time.
        std::vector<std::int16_t> scaled;
        int x = first;
        std::int64_t nextBoundary = Boundary(first + 1);
        for (std::int64_t frame = from; frame < to;) {
            if (cancel.load(std::memory_order_relaxed)) return false;
            const std::int64_t count = std::min<std::int64_t>(to - frame, std::int64_t(block.size()) / frameBytes);
            file.Read(block.data(), std::size_t(count * frameBytes));   // zeros past the end
            if (wide) {
                const std::size_t samples = std::size_t(count * channels);
                scaled.resize(samples);
                for (std::size_t i = 0; i < samples; ++i)
                    scaled[i] = std::int16_t(format.Raw16(block.data() + i * std::size_t(format.bytes())));
            }
            // The block in runs of frames of one unit each.
            for (std::int64_t done = 0; done < count;) {
                while (frame + done >= nextBoundary && x + 1 < end) nextBoundary = Boundary(++x + 1);
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
        return true;
    }
};

int PiecesFor(const EnvelopeJob& job, std::int64_t bytes)
{
    int pieces = job.pieces;
    if (pieces <= 0) {
        const int cores = int(std::thread::hardware_concurrency());
        pieces = int(std::clamp<std::int64_t>(bytes / MinPieceBytes, 1, std::clamp(cores, 1, MostPieces)));
    }
    return std::min(pieces, job.columns);
}
}

std::optional<WaveEnvelope> ComputeEnvelope(const EnvelopeJob& job, const std::atomic_bool& cancel)
{
    const SampleFormat format(job.bitsPerSample, job.floating);
    if (!format.known()) return std::nullopt;
    if (job.columns <= 0 || job.frames <= 0 || !(job.framesPerColumn > 0)) return std::nullopt;
    const bool wide = format.wide();
    const bool sixteen = job.bitsPerSample == 16 || wide;
    const int channels = job.channels == 2 ? 2 : 1;
    {
        WaveFile file;   // a file that cannot be opened fails at once, before any thread starts
        if (file.Open(job.path) != 0) return std::nullopt;
    }

    WaveEnvelope env;
    env.columns = job.columns;
    env.channels = channels;
    const std::size_t cells = std::size_t(job.columns) * std::size_t(channels);
    env.low.assign(cells, INT16_MAX);
    env.high.assign(cells, INT16_MIN);
    const Reduction reduction{job, cancel, format, wide, sixteen, channels,
                              channels * (wide ? format.bytes() : sixteen ? 2 : 1), env};

    // Frames past the last unit are not drawn, so they are not read. The units fall into a few
    // consecutive pieces, each read and scanned on a thread of its own (the first on this one):
    // reading from the page cache is a copy the processor does, so the cores share it.
    const int pieces = PiecesFor(job, reduction.Boundary(job.columns) * reduction.frameBytes);
    std::vector<char> ok(std::size_t(pieces), 0);
    auto unitOf = [&](int piece) { return int(std::int64_t(job.columns) * piece / pieces); };
    auto piece = [&](int k) { ok[std::size_t(k)] = reduction.Piece(unitOf(k), unitOf(k + 1)); };
    {
        std::vector<std::jthread> others;
        others.reserve(std::size_t(pieces));
        for (int k = 1; k < pieces; ++k) {
            try {
                others.emplace_back(piece, k);
            } catch (const std::system_error&) {
                piece(k);   // no thread to be had: this one reads the piece as well
            }
        }
        piece(0);
    }   // the threads join here
    if (std::find(ok.begin(), ok.end(), 0) != ok.end()) return std::nullopt;

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
