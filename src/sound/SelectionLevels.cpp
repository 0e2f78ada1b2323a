#include "sound/SelectionLevels.h"

#include "platform/audio/WaveFile.h"
#include "text/LoadText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {
double Decibels(double value)
{
    return value > 0 ? 20.0 * std::log10(value) : -std::numeric_limits<double>::infinity();
}

QString DbText(double db)
{
    if (std::isinf(db)) return QStringLiteral("-inf");
    // A level just below full scale reads 0.00, not -0.00.
    return QString::number(std::abs(db) < 0.005 ? 0.0 : db, 'f', 2);
}
}

double SignalLevels::RmsDbfs() const { return Decibels(rms * std::sqrt(2.0)); }
double SignalLevels::PeakDbfs() const { return Decibels(peak); }

std::optional<SignalLevels> MeasureLevels(WaveFile& file, std::int64_t start, std::int64_t frames,
                                          SampleFormat format, int channels, int channel)
{
    if (!file.IsOpen() || !format.known() || frames <= 0 || frames > LevelFrameLimit) return std::nullopt;
    channels = channels == 2 ? 2 : 1;
    channel = std::clamp(channel, 0, channels - 1);
    const int sampleBytes = format.bytes();
    const int frameBytes = sampleBytes * channels;
    // Only the frames the file holds.
    const std::int64_t held = std::max<std::int64_t>(0, file.Length() - start + 1) / frameBytes;
    frames = std::min(frames, held);
    if (frames <= 0) return std::nullopt;

    SignalLevels levels;
    levels.frames = frames;
    double sumSquares = 0;
    const std::int64_t blockFrames = (1 << 16) / frameBytes;
    std::vector<unsigned char> block(std::size_t(blockFrames * frameBytes));
    file.Seek(start);
    for (std::int64_t done = 0; done < frames;) {
        const std::int64_t n = std::min(blockFrames, frames - done);
        file.Read(block.data(), std::size_t(n * frameBytes));
        const unsigned char* p = block.data() + channel * sampleBytes;
        for (std::int64_t k = 0; k < n; ++k, p += frameBytes) {
            const double v = format.Normalised(p);
            sumSquares += v * v;
            levels.peak = std::max(levels.peak, std::abs(v));
        }
        done += n;
    }
    levels.rms = std::sqrt(sumSquares / double(frames));
    return levels;
}

QString LevelsCaption(const SignalLevels& levels)
{
    return LoadText(802).arg(DbText(levels.RmsDbfs()), DbText(levels.PeakDbfs()));
}
