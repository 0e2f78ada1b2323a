#include "platform/audio/WaveHeader.h"

#include "general/General.h"
#include "platform/audio/WaveFile.h"

#include <QByteArray>
#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr int FmtBlocks = 100;          // the "fmt " search reads 100 blocks of 4 bytes
constexpr int DataScanLength = 100;     // bytes scanned for a "d" in one round
constexpr int DataScanGiveUp = 90;      // a round that went further than this ends the search

// Moves the file to just after "fmt "; false when the first 400 bytes do not hold it.
bool FindFmtMarker(WaveFile& file)
{
    file.Seek(1);
    QByteArray head(FmtBlocks * 4, '\0');
    for (int block = 0; block < FmtBlocks; ++block) {
        char* b = head.data() + block * 4;
        file.Read(b, 4);
        if (QByteArray::fromRawData(b, 4) == "fmt ")
            return true;    // the file is already just after the block
    }
    // Not on a 4-byte boundary: look for the marker at any byte offset of what was read.
    const qsizetype at = head.indexOf("fmt ");
    if (at < 0)
        return false;
    file.Seek(1 + at + 4);
    return true;
}

// Moves the file to just after "data"; false when the search gives up.
bool FindDataMarker(WaveFile& file)
{
    for (;;) {
        int count = 0;
        bool sawD = false;
        while (count < DataScanLength) {
            ++count;
            if (file.ReadByte() == 'd') {
                sawD = true;
                break;
            }
        }
        if (!sawD || file.Position() > std::numeric_limits<std::int32_t>::max())
            return false;   // 100 bytes without a "d": the count is beyond the limit
        char rest[3];
        file.Read(rest, 3);
        if (rest[0] == 'a' && rest[1] == 't' && rest[2] == 'a')
            return true;
        if (count > DataScanGiveUp)
            return false;
        // Past the end of the file only zeros come back, so the search always ends.
        file.Seek(file.Position() - 3);
    }
}

// Where the chunk list puts the "fmt " and "data" chunks' contents (1-based file positions).
struct ChunkPositions {
    std::int64_t fmt = 0;
    std::int64_t data = 0;
};

// Walks the chunk list of a RIFF/WAVE file: each chunk is a four-letter name, a 32-bit size and
// that many bytes (padded to an even count). Nothing when the file is not RIFF/WAVE or a chunk
// size leads past the end of the file before both chunks were seen: the byte search then takes
// over, as it does for files whose sizes were written wrong.
std::optional<ChunkPositions> WalkChunks(WaveFile& file)
{
    char riff[12];
    file.Seek(1);
    file.Read(riff, 12);
    if (QByteArray::fromRawData(riff, 4) != "RIFF" || QByteArray::fromRawData(riff + 8, 4) != "WAVE")
        return std::nullopt;
    ChunkPositions found;
    std::int64_t at = 13;
    while (at + 8 <= file.Length() + 1) {
        char name[4];
        file.Seek(at);
        file.Read(name, 4);
        const std::uint32_t size = std::uint32_t(file.ReadInt32());
        const QByteArray id = QByteArray::fromRawData(name, 4);
        if (id == "fmt " && found.fmt == 0) {
            if (size < 16) return std::nullopt;
            found.fmt = at + 8;
        } else if (id == "data") {
            found.data = at + 8;
            break;   // the sample data: what follows it is not read
        }
        at += 8 + std::int64_t(size) + (size & 1);
    }
    if (found.fmt == 0 || found.data == 0 || found.fmt > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return found;
}

} // namespace

std::int32_t WaveHeader::FrameCount() const
{
    if (blockAlign <= 0 || dataSize <= 0)
        return 0;
    return std::int32_t(general::Round(double(dataSize) / double(blockAlign)));
}

WaveHeader WaveHeader::Read(WaveFile& file)
{
    WaveHeader h;
    if (!file.IsOpen()) {
        h.fault = WaveFault::FileNotOpened;
        return h;
    }
    const std::optional<ChunkPositions> chunks = WalkChunks(file);
    if (chunks) {
        file.Seek(chunks->fmt);
    } else if (FindFmtMarker(file)) {
        file.ReadInt32();   // fmt chunk size: the search does not skip by it
    } else {
        h.fault = file.Length() < 8 ? WaveFault::Truncated : WaveFault::NoFmtMarker;
        return h;
    }
    const std::int16_t formatTag = file.ReadInt16();
    const std::int16_t channels = file.ReadInt16();
    const std::int32_t sampleRate = file.ReadInt32();
    const std::int32_t byteRate = file.ReadInt32();
    const std::int16_t blockAlign = file.ReadInt16();
    const std::int16_t bits = file.ReadInt16();
    if (file.PastEnd() || file.Position() - 1 > file.Length()) {
        h.fault = WaveFault::Truncated;
        return h;
    }

    h.formatTag = formatTag;
    h.channels = channels;
    if (channels != 1 && channels != 2) {
        h.fault = WaveFault::Channels;
        return h;
    }
    h.sampleRate = sampleRate;
    h.byteRate = byteRate;
    h.blockAlign = blockAlign;
    h.bitsPerSample = bits;
    if (bits != 8 && bits != 16) {
        h.fault = WaveFault::BitsPerSample;
        return h;
    }
    if (sampleRate <= 0) {
        h.fault = WaveFault::SampleRate;
        return h;
    }
    if (blockAlign <= 0) {
        h.fault = WaveFault::BlockAlign;
        return h;
    }

    if (chunks) {
        file.Seek(chunks->data - 4);
    } else if (!FindDataMarker(file)) {
        h.fault = WaveFault::NoDataMarker;
        return h;
    }
    h.dataSizeField = file.ReadInt32();
    if (file.PastEnd()) {
        h.fault = WaveFault::Truncated;
        return h;
    }
    if (file.Position() > std::numeric_limits<std::int32_t>::max()) {
        h.fault = WaveFault::NoDataMarker;
        return h;
    }
    h.dataStart = std::int32_t(file.Position());
    // The sample data the file really holds, in whole frames. A size field beyond it (a
    // recording cut short, 0xFFFFFFFF from a streaming writer, a bare header) counts for no more:
    // the reader never shows frames that are not there.
    std::int64_t held = file.Length() - h.dataStart + 1;
    held = std::clamp<std::int64_t>(held, 0, std::numeric_limits<std::int32_t>::max());
    held -= held % blockAlign;
    h.dataSize = h.dataSizeField < 0 ? std::int32_t(held) : std::min(h.dataSizeField, std::int32_t(held));
    return h;
}
