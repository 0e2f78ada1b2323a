#include "sound/PlaybackCursor.h"

#include "general/General.h"

#include <cmath>
#include <limits>

using general::Int;

namespace {
constexpr double kTicksPerSecond = 100000.0;

bool fitsInt(double v)
{
    return std::isfinite(v) && v >= std::numeric_limits<int>::min() &&
           v <= std::numeric_limits<int>::max();
}
}

void PlaybackCursor::SetView(std::int32_t viewStartTicks, double viewDuration)
{
    viewStartTicks_ = viewStartTicks;
    viewDuration_ = std::isfinite(viewDuration) && viewDuration > 0 ? viewDuration : 0;
}

void PlaybackCursor::rescale(double scaleWidth, double mediaDuration)
{
    if (!std::isfinite(scaleWidth) || !std::isfinite(mediaDuration) || mediaDuration <= 0) return;
    scaleWidth_ = scaleWidth;
    mediaDuration_ = mediaDuration;
    cursorScale_ = scaleWidth / mediaDuration;
}

void PlaybackCursor::FocusGained(double scaleWidth, double mediaDuration)
{
    focused_ = true;
    rescale(scaleWidth, mediaDuration);
}

void PlaybackCursor::place(double t)
{
    // The whole sound: the scale of the media itself. A zoomed view: its own stretch.
    double start = 0;
    double scale = cursorScale_;
    double duration = mediaDuration_;
    if (viewStartTicks_ != 0 || viewDuration_ > 0) {
        start = viewStartTicks_ / kTicksPerSecond;
        duration = viewDuration_ > 0 ? viewDuration_ : mediaDuration_;
        if (duration <= 0) return;
        scale = scaleWidth_ / duration;
    }
    const double x = Int((t - start) * scale);
    if (!fitsInt(x)) return;
    x_ = int(x);
    inView_ = duration <= 0 || (t >= start && t <= start + duration);
}

void PlaybackCursor::sampleNumber()
{
    const double n = Int(double(sampleRate_) * general::Val(text1_));
    if (std::isfinite(n)) text2_ = general::NumText(n);
}

void PlaybackCursor::TimerTick(double position)
{
    if (!std::isfinite(position)) return;
    text1_ = general::Format(position, u"####.000");
    place(general::Val(text1_));
    sampleNumber();
}

void PlaybackCursor::PositionChanged(double position, double scaleWidth, double mediaDuration)
{
    rescale(scaleWidth, mediaDuration);
    if (!std::isfinite(position)) return;
    text1_ = general::NumText(Int(position * kTicksPerSecond) / kTicksPerSecond);
    place(position);
    sampleNumber();
}

double PlaybackCursor::LoopStartSeconds(double initialSample, std::int32_t sampleRate)
{
    if (sampleRate <= 0 || !std::isfinite(initialSample)) return 0;
    return initialSample / double(sampleRate);
}
