#include "capture/TimeLapseSchedule.h"

namespace capture {

namespace {
// The instant's milliseconds since the epoch, rounded down to a whole second.
std::int64_t WholeSecondMs(const QDateTime& when)
{
    const std::int64_t ms = when.toMSecsSinceEpoch();
    const std::int64_t seconds = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    return seconds * 1000;
}
}

void TimeLapseSchedule::arm(const QDateTime& start, const QDateTime& completion, std::int64_t intervalSeconds)
{
    nextMs_ = WholeSecondMs(start);
    completionMs_ = WholeSecondMs(completion);
    // A negative interval would walk the due times backwards: it is due every tick, as 0 is.
    intervalSeconds_ = intervalSeconds > 0 ? intervalSeconds : 0;
    armed_ = true;
}

void TimeLapseSchedule::setCompletion(const QDateTime& completion)
{
    completionMs_ = WholeSecondMs(completion);
}

TimeLapseStep TimeLapseSchedule::tick(const QDateTime& now)
{
    if (!armed_) return TimeLapseStep::Idle;
    const std::int64_t nowMs = now.toMSecsSinceEpoch();
    if (nowMs < nextMs_) return TimeLapseStep::Waiting;
    if (nowMs >= completionMs_) {
        armed_ = false;
        return TimeLapseStep::Completed;
    }
    return TimeLapseStep::TakeFrame;
}

void TimeLapseSchedule::frameTaken(const QDateTime& due)
{
    if (armed_ && due.toMSecsSinceEpoch() == nextMs_) nextMs_ += intervalSeconds_ * 1000;
}

QDateTime TimeLapseSchedule::nextFrameTime() const { return QDateTime::fromMSecsSinceEpoch(nextMs_, Qt::UTC); }

QDateTime TimeLapseSchedule::completion() const { return QDateTime::fromMSecsSinceEpoch(completionMs_, Qt::UTC); }

} // namespace capture
