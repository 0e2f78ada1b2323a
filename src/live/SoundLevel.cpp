#include "live/SoundLevel.h"

#include "live/LiveSpectrum.h"

#include <cmath>
#include <cstdlib>

namespace live {

SoundLevel MeasureLevel(const std::int16_t* samples, std::int64_t n)
{
    SoundLevel level;
    if (n <= 0) return level;
    double sum = 0;
    int peak = 0;
    for (std::int64_t i = 0; i < n; ++i) {
        const int s = samples[i];
        sum += double(s) * s;
        peak = std::max(peak, std::abs(s));
        if (s >= 32767 || s <= -32768) level.clipped = true;
    }
    level.rmsDb = AmplitudeDb(std::sqrt(sum / double(n)) / 32768.0);
    level.peakDb = AmplitudeDb(peak / 32768.0);
    return level;
}

} // namespace live
