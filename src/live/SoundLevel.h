#pragma once
// The level of a stretch of sound relative to full scale: the RMS (a full-scale square wave reads
// 0 dBFS, a full-scale sine -3.0 dBFS), the peak, and whether it clipped (a sample at the end of
// the 16-bit range).
#include <cstdint>

namespace live {

struct SoundLevel {
    double rmsDb = -160;
    double peakDb = -160;
    bool clipped = false;
};

// Samples as the input delivers them (signed 16-bit).
SoundLevel MeasureLevel(const std::int16_t* samples, std::int64_t n);

} // namespace live
