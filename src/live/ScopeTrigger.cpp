#include "live/ScopeTrigger.h"

#include <algorithm>

namespace live {

std::optional<double> FindTrigger(const float* samples, std::int64_t n, std::int64_t from, std::int64_t to,
                                  const TriggerSettings& settings)
{
    from = std::max<std::int64_t>(from, 1);
    to = std::min(to, n);
    // A falling edge is a rising edge of the inverted wave.
    const double sign = settings.edge == TriggerEdge::Rising ? 1 : -1;
    const double level = sign * settings.level;
    const double rearm = level - std::max(0.0, settings.hysteresis);
    // Armed once the wave has been below the re-arm level: looked for from the stretch before
    // `from` too, so a crossing just at `from` is not lost.
    const std::int64_t lookBack = std::max<std::int64_t>(0, from - (to - from) - 1);
    bool armed = false;
    std::optional<double> found;
    for (std::int64_t i = lookBack; i < to; ++i) {
        const double x = sign * samples[i];
        if (x < rearm) armed = true;
        if (i < from || !armed) continue;
        const double previous = sign * samples[i - 1];
        if (previous < level && x >= level) {
            found = double(i - 1) + (level - previous) / (x - previous);
            armed = false;
        }
    }
    return found;
}

} // namespace live
