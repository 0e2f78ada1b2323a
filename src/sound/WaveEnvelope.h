#pragma once
// The true outline of a long stretch of sound. When a stretch has more frames than the graph has
// units, the quick drawing shows one sample per unit, which can show beats that are not in the
// sound (a steady 440 Hz tone sampled every few hundred frames). The envelope gives each unit
// the lowest and highest sample of all the frames it covers, each frame read once, so the
// graph can be redrawn as every audio editor draws it.
#include <QString>
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

// What to read: the stretch the quick drawing drew, and how its frames fall on the units.
struct EnvelopeJob {
    QString path;
    std::int64_t start = 1;        // 1-based byte position of the stretch's first frame
    std::int64_t frames = 0;
    int bitsPerSample = 16;        // 8 or 16; 24, 32 (or 64 with floating) for the wide formats
    bool floating = false;         // float samples
    int channels = 1;              // 1 or 2
    int columns = 0;               // units 0..columns-1
    double framesPerColumn = 0;    // unit x covers frames [floor(x * f), floor((x + 1) * f))
    int pieces = 0;                // read side by side in this many pieces; 0: one per core
};

struct WaveEnvelope {
    int columns = 0;
    int channels = 1;
    // Per unit and channel ([x * channels + c]): the samples as the file holds them (signed
    // 16-bit values, or 0..255 for 8-bit sounds; the wide formats on the 16-bit scale). A unit that covers no frame takes the highest
    // sample of the unit before it.
    std::vector<std::int16_t> low;
    std::vector<std::int16_t> high;
    std::int16_t Low(int x, int channel) const { return low[std::size_t(x * channels + channel)]; }
    std::int16_t High(int x, int channel) const { return high[std::size_t(x * channels + channel)]; }
};

// Reads each frame of the stretch once, in a few consecutive pieces read side by side (a long
// stretch, on a machine with more than one core). Frames the file does not hold read as zeros,
// as the quick drawing reads them. Nothing when the file cannot be opened or cancel became true.
std::optional<WaveEnvelope> ComputeEnvelope(const EnvelopeJob& job, const std::atomic_bool& cancel);

#include <QMetaType>
Q_DECLARE_METATYPE(WaveEnvelope)
