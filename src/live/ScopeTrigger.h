#pragma once
// Where the scope's sweep starts: the moment the wave crosses the trigger level in the chosen
// direction, placed between samples, so successive sweeps of a steady wave start at the same
// phase. The wave must first have gone back past the level by the hysteresis, so that noise on a
// slow edge does not trigger twice.
#include <cstdint>
#include <optional>

namespace live {

enum class TriggerEdge { Rising, Falling };
// Auto sweeps without a trigger when none comes; Normal sweeps only on a trigger; Single sweeps
// once on the next trigger and then holds.
enum class TriggerMode { Auto, Normal, Single };

struct TriggerSettings {
    TriggerEdge edge = TriggerEdge::Rising;
    double level = 0;          // full scale ±1
    double hysteresis = 0.01;  // full scale
};

// The last crossing within samples [from, to) of the n samples at `samples`, as a position in
// samples (fractional, from the start of the samples). Nothing when there is none.
std::optional<double> FindTrigger(const float* samples, std::int64_t n, std::int64_t from, std::int64_t to,
                                  const TriggerSettings& settings);

} // namespace live
