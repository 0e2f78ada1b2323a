#include "sound/StretchPlayback.h"

#include "general/General.h"

#include <algorithm>
#include <cmath>

StretchPlayback::Stretch StretchPlayback::Of(const SelectionReadout& readout, std::int32_t sampleRate,
                                             double cursorSeconds, double duration)
{
    Stretch s;
    s.end = std::max(0.0, duration);
    if (readout.initialSample.isEmpty() || sampleRate <= 0) {
        s.start = std::isfinite(cursorSeconds) ? std::clamp(cursorSeconds, 0.0, s.end) : 0;
        // A cursor left at the very end plays the sound again from its start.
        if (s.start >= s.end) s.start = 0;
        return s;
    }
    const double first = general::Val(readout.initialSample);
    const double count = general::Val(readout.selectedSamples);
    s.start = std::clamp(first / sampleRate, 0.0, s.end);
    if (count > 0) s.end = std::clamp((first + count) / sampleRate, s.start, s.end);
    return s;
}

void StretchPlayback::Start(const Stretch& stretch, bool loop)
{
    stretch_ = stretch;
    loop_ = loop;
    active_ = stretch.end > stretch.start;
}

StretchPlayback::Step StretchPlayback::At(double position)
{
    if (!active_ || !std::isfinite(position) || position < stretch_.end) return Step::Go;
    if (loop_) return Step::Rewind;
    active_ = false;
    return Step::Stop;
}
