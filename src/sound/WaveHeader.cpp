#include "sound/WaveHeader.h"

#include "general/General.h"
#include "sound/WaveFile.h"

#include <QByteArray>
#include <algorithm>
#include <limits>

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
    if (!FindFmtMarker(file)) {
        h.fault = file.Length() < 8 ? WaveFault::Truncated : WaveFault::NoFmtMarker;
        return h;
    }

    file.ReadInt32();   // fmt chunk size: the reader does not skip by it
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

    if (!FindDataMarker(file)) {
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

    h.dataSize = h.dataSizeField;
    if (h.dataSize < 0) {
        // A size that no 32-bit signed count can hold: take the data the file really holds.
        std::int64_t held = file.Length() - h.dataStart + 1;
        held = std::clamp<std::int64_t>(held, 0, std::numeric_limits<std::int32_t>::max());
        h.dataSize = std::int32_t(held - held % blockAlign);
    }
    return h;
}
