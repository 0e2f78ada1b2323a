#include "platform/audio/WaveHeader.h"

#include "general/General.h"
#include "platform/audio/WaveFile.h"
#include "text/LoadText.h"

#include <QByteArray>
#include <algorithm>
#include <cerrno>
#include <cstring>
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

// Where the chunk list puts the "fmt " and "data" chunks' contents (1-based file positions),
// and for RF64 the 64-bit data size of its "ds64" chunk.
struct ChunkPositions {
    std::int64_t fmt = 0;
    std::uint32_t fmtSize = 0;
    std::int64_t data = 0;
    bool rf64 = false;
    std::int64_t ds64DataSize = 0;
};

std::int64_t ReadInt64(WaveFile& file)
{
    const std::uint32_t low = std::uint32_t(file.ReadInt32());
    const std::uint32_t high = std::uint32_t(file.ReadInt32());
    return std::int64_t((std::uint64_t(high) << 32) | low);
}

constexpr std::uint16_t FormatPcm = 1;
constexpr std::uint16_t FormatFloat = 3;
constexpr std::uint16_t FormatExtensible = 0xFFFE;

// Walks the chunk list of a RIFF/WAVE file: each chunk is a four-letter name, a 32-bit size and
// that many bytes (padded to an even count). Nothing when the file is not RIFF/WAVE or a chunk
// size leads past the end of the file before both chunks were seen: the byte search then takes
// over, as it does for files whose sizes were written wrong.
std::optional<ChunkPositions> WalkChunks(WaveFile& file)
{
    char riff[12];
    file.Seek(1);
    file.Read(riff, 12);
    const QByteArray marker = QByteArray::fromRawData(riff, 4);
    const bool rf64 = marker == "RF64" || marker == "BW64";
    if ((marker != "RIFF" && !rf64) || QByteArray::fromRawData(riff + 8, 4) != "WAVE")
        return std::nullopt;
    ChunkPositions found;
    found.rf64 = rf64;
    bool ds64 = false;
    std::int64_t at = 13;
    while (at + 8 <= file.Length() + 1) {
        char name[4];
        file.Seek(at);
        file.Read(name, 4);
        const std::uint32_t size = std::uint32_t(file.ReadInt32());
        const QByteArray id = QByteArray::fromRawData(name, 4);
        if (id == "ds64" && rf64 && size >= 24) {
            ReadInt64(file);   // the RIFF size
            found.ds64DataSize = ReadInt64(file);
            ds64 = !file.PastEnd();
        } else if (id == "fmt " && found.fmt == 0) {
            if (size < 16) return std::nullopt;
            found.fmt = at + 8;
            found.fmtSize = size;
        } else if (id == "data") {
            found.data = at + 8;
            break;   // the sample data: what follows it is not read
        }
        at += 8 + std::int64_t(size) + (size & 1);
    }
    if (found.fmt == 0 || found.data == 0 || found.fmt > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    if (rf64 && !ds64) return std::nullopt;   // no 64-bit sizes: the fields say nothing
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
    std::uint32_t fmtSize = 0;
    if (chunks) {
        file.Seek(chunks->fmt);
        fmtSize = chunks->fmtSize;
    } else if (FindFmtMarker(file)) {
        fmtSize = std::uint32_t(file.ReadInt32());   // the search does not skip by it
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
    // WAVE_FORMAT_EXTENSIBLE: cbSize, valid bits, channel mask, then the sub-format GUID whose
    // first two bytes are the format code.
    h.formatCode = std::uint16_t(formatTag);
    if (h.formatCode == FormatExtensible && fmtSize >= 40) {
        const std::int64_t extension = file.Position();
        file.ReadInt16();
        h.validBits = file.ReadInt16();
        file.ReadInt32();
        const std::uint16_t sub = std::uint16_t(file.ReadInt16());
        if (!file.PastEnd()) {
            h.extensible = true;
            h.formatCode = sub;
        }
        file.Seek(extension);
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
    if (bits == 8 || bits == 16) {
        h.format = SampleFormat(int(bits));   // every tag is read as PCM
    } else if (h.formatCode == FormatPcm || h.formatCode == FormatFloat) {
        h.format = SampleFormat(int(bits), h.formatCode == FormatFloat);
        if (!h.format.known()) {
            h.fault = WaveFault::BitsPerSample;
            return h;
        }
    } else {
        h.fault = WaveFault::Compressed;
        return h;
    }
    if (sampleRate <= 0) {
        h.fault = WaveFault::SampleRate;
        return h;
    }
    // The wide formats are read frame by frame at channels x sample bytes, so a block align
    // that says otherwise is a broken header, not a layout to guess at.
    if (blockAlign <= 0 || (h.format.wide() && blockAlign != channels * h.format.bytes())) {
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
    std::int64_t held = std::max<std::int64_t>(file.Length() - h.dataStart + 1, 0);
    if (chunks && chunks->rf64) {
        h.rf64 = true;
        // The 32-bit field is 0xFFFFFFFF; the true size is in "ds64" (a small RF64 file may
        // carry it in the field too).
        h.dataSizeField = std::uint32_t(h.dataSizeField) == 0xFFFFFFFFu ? chunks->ds64DataSize
                                                                        : std::int64_t(std::uint32_t(h.dataSizeField));
        held -= held % blockAlign;
        h.dataSize = h.dataSizeField < 0 ? held : std::min(h.dataSizeField, held);
        if (double(h.dataSize) / blockAlign > double(std::numeric_limits<std::int32_t>::max())) {
            h.fault = WaveFault::TooManyFrames;
            return h;
        }
        return h;
    }
    held = std::min<std::int64_t>(held, std::numeric_limits<std::int32_t>::max());
    held -= held % blockAlign;
    h.dataSize = h.dataSizeField < 0 ? held : std::min(h.dataSizeField, held);
    return h;
}

QString WaveFaultDetail(const WaveHeader& h)
{
    switch (h.fault) {
    case WaveFault::None: return {};
    case WaveFault::FileNotOpened:
        return LoadText(799).arg(QString::fromLocal8Bit(std::strerror(h.systemError ? h.systemError : EIO)));
    case WaveFault::Truncated: return LoadText(792);
    case WaveFault::NoFmtMarker: return LoadText(793);
    case WaveFault::Channels: return LoadText(794).arg(h.channels);
    case WaveFault::BitsPerSample:
        return h.formatCode == FormatFloat ? LoadText(801).arg(h.bitsPerSample) : LoadText(795).arg(h.bitsPerSample);
    case WaveFault::SampleRate: return LoadText(796).arg(h.sampleRate);
    case WaveFault::BlockAlign: return LoadText(797).arg(h.blockAlign);
    case WaveFault::NoDataMarker: return LoadText(798);
    case WaveFault::Compressed: return LoadText(791).arg(h.formatCode);
    case WaveFault::TooManyFrames: return LoadText(800);
    }
    return {};
}
