#include "sound/ViewSpan.h"

#include <algorithm>
#include <cmath>

namespace {
ViewSpan Held(std::int64_t start, std::int64_t frames, std::int64_t total)
{
    ViewSpan v;
    v.frames = std::clamp<std::int64_t>(frames, std::min(ViewSpan::MinimumFrames, total), std::max<std::int64_t>(total, 0));
    v.start = std::clamp<std::int64_t>(start, 0, std::max<std::int64_t>(total - v.frames, 0));
    return v;
}
}

double ViewSpan::FrameAt(double x, double W) const
{
    return W > 0 ? double(start) + double(frames - 1) * x / W : double(start);
}

ViewSpan ViewSpan::ZoomedAbout(double x, double W, double factor, std::int64_t total) const
{
    if (!(factor > 0) || W <= 0 || total <= 0) return Held(start, frames, total);
    x = std::clamp(x, 0.0, W);
    const double under = FrameAt(x, W);
    const std::int64_t count = std::int64_t(std::llround(double(frames) / factor));
    const ViewSpan sized = Held(0, count, total);
    // Solve start' + (frames' - 1) * x / W = under for start'.
    const double first = under - double(sized.frames - 1) * x / W;
    return Held(std::llround(first), sized.frames, total);
}

ViewSpan ViewSpan::ScrolledBy(std::int64_t delta, std::int64_t total) const
{
    return Held(start + delta, frames, total);
}
