#include "live/OnsetStopwatch.h"

#include <cmath>
#include <cstdlib>

namespace live {

void OnsetStopwatch::configure(double threshold, std::int64_t deadSamples)
{
    threshold_ = threshold;
    dead_ = deadSamples < 0 ? 0 : deadSamples;
}

void OnsetStopwatch::reset()
{
    state_ = State::Armed;
    start_ = stop_ = 0;
    quietFrom_ = fed_;
}

void OnsetStopwatch::feed(const std::int16_t* samples, std::int64_t n)
{
    const int level = int(std::ceil(std::min(1.0, std::max(threshold_, 1.0 / 32768)) * 32767));
    for (std::int64_t i = 0; i < n && state_ != State::Stopped; ++i) {
        const std::int64_t at = fed_ + i;
        if (std::abs(int(samples[i])) < level) continue;
        const bool counts = at >= quietFrom_;
        quietFrom_ = at + dead_ + 1;
        if (!counts) continue;
        if (state_ == State::Armed) {
            state_ = State::Running;
            start_ = at;
        } else {
            state_ = State::Stopped;
            stop_ = at;
        }
    }
    fed_ += n;
}

std::int64_t OnsetStopwatch::elapsedSamples() const
{
    switch (state_) {
    case State::Armed: return 0;
    case State::Running: return fed_ - start_;
    case State::Stopped: return stop_ - start_;
    }
    return 0;
}

} // namespace live
