#include "platform/video/ClipInfo.h"

#include "platform/audio/WaveFile.h"
#include "platform/audio/WaveHeader.h"
#include "platform/video/ClipReader.h"

#include <cstring>
#include <optional>

namespace {
// A plain RIFF (or RF64) WAVE file of PCM or float samples, the analyser's own kind of sound, is
// described from its header: showing a sound then does not load the media libraries, which takes
// longer than the rest of the program's start. Anything else is left to the media reader.
std::optional<ClipInfo> FromWaveHeader(const QString& path)
{
    WaveFile file;
    if (file.Open(path) != 0) return std::nullopt;
    char marks[12] = {};
    file.Read(marks, sizeof marks);
    const bool riff = std::memcmp(marks, "RIFF", 4) == 0 || std::memcmp(marks, "RF64", 4) == 0;
    if (!riff || std::memcmp(marks + 8, "WAVE", 4) != 0) return std::nullopt;
    file.Seek(1);
    const WaveHeader h = WaveHeader::Read(file);
    constexpr std::uint16_t kPcm = 1, kFloat = 3;
    if (!h.ok() || (h.formatCode != kPcm && h.formatCode != kFloat) || h.sampleRate <= 0) return std::nullopt;
    ClipInfo info;
    info.hasAudio = true;
    info.duration = double(h.dataSize / h.blockAlign) / h.sampleRate;
    return info;
}
} // namespace

ClipInfo ClipInfo::Read(const QString& path)
{
    if (std::optional<ClipInfo> wave = FromWaveHeader(path)) return *wave;
    const std::unique_ptr<ClipReader> reader = ClipReader::Open(path);
    return reader ? reader->info() : ClipInfo();
}

std::int64_t ClipInfo::VideoFrames(const QString& path)
{
    const std::unique_ptr<ClipReader> reader = ClipReader::Open(path);
    return reader ? reader->videoFrames() : 0;
}
