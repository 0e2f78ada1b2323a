#pragma once
// The time-lapse schedule: which tick of the time-interval capture takes a frame. The window's
// timer calls tick(now) every half second and takes a frame when told; the schedule never reads
// a clock itself, so a test feeds it any times it likes.
//
// Times are instants: every QDateTime handed in is compared by its moment in UTC, whatever zone
// it is written in. A run over a night when the clocks go forward or back therefore neither
// waits an hour nor takes an hour's frames at once; only the boxes show local time.
//
// The rules of a run:
//  - frames are due at start, start + interval, start + 2 × interval, ...: each due time is the
//    previous one plus the interval, not the time a frame was actually taken;
//  - a tick takes at most one frame, so frames missed while the machine was busy (or before a
//    start in the past) are caught up one per tick until the next due time is ahead again;
//  - the completion is looked at only when a frame is due: the run ends on the first due frame
//    at or after the completion, without taking it;
//  - an interval of 0 (or less) makes every tick due: two frames a second at the usual tick;
//  - a frame that could not be taken stays due and is tried again on the next tick.
// Take the due time before taking the frame and hand it back to frameTaken.
// Start and completion count in whole seconds (what the date boxes show); fractions are dropped.
#include <QDateTime>
#include <cstdint>

namespace capture {

// What one tick does.
enum class TimeLapseStep {
    Idle,        // no run is armed
    Waiting,     // armed, the next frame is not due yet
    Completed,   // a frame was due at or after the completion: the run has ended, no frame
    TakeFrame,   // take one frame, then call frameTaken() if it was taken
};

class TimeLapseSchedule {
public:
    // Arms a run, replacing any run that was armed.
    void arm(const QDateTime& start, const QDateTime& completion, std::int64_t intervalSeconds);
    // Disarms (Stop, Cancel, Close): later ticks are idle until the next arm.
    void stop() { armed_ = false; }
    bool armed() const { return armed_; }

    // Moves the completion of the armed run (the completion box was edited while it runs).
    void setCompletion(const QDateTime& completion);

    // What the tick at `now` does. Completed disarms the schedule.
    TimeLapseStep tick(const QDateTime& now);
    // The frame due at `due` (nextFrameTime() when the tick said TakeFrame) was taken: the next
    // one is due one interval later. Nothing changes when the run was stopped or armed again
    // while the frame was being taken (the camera's wait lets the buttons work meanwhile).
    void frameTaken(const QDateTime& due);

    // When the next frame is due, and the run's completion, in UTC.
    QDateTime nextFrameTime() const;
    QDateTime completion() const;
    std::int64_t intervalSeconds() const { return intervalSeconds_; }

private:
    bool armed_ = false;
    std::int64_t nextMs_ = 0;         // milliseconds since the epoch, whole seconds
    std::int64_t completionMs_ = 0;
    std::int64_t intervalSeconds_ = 0;
};

} // namespace capture
