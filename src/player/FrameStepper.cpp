#include "player/FrameStepper.h"

#include <algorithm>
#include <limits>

namespace {
// Going on decoding from the last frame kept is cheaper than a seek for a position this close.
constexpr double kReadAheadSeconds = 2.0;
// Seeks that land after the wanted time back off 1, 2, 4... seconds; the last try is the start.
constexpr int kSeekAttempts = 12;
}

FrameStepper::FrameStepper(std::unique_ptr<FrameReader> reader, std::size_t budgetBytes)
    : reader_(std::move(reader)), budget_(budgetBytes)
{
}

void FrameStepper::clearRun()
{
    run_.clear();
    bytes_ = 0;
    runFromStart_ = false;
    runAtEnd_ = false;
    readerFollowsRun_ = false;
}

bool FrameStepper::readInto()
{
    if (runAtEnd_ || !readerFollowsRun_) return false;
    for (;;) {
        std::optional<ReadFrame> frame = reader_->next();
        if (!frame) {
            runAtEnd_ = true;
            return false;
        }
        ++reads_;
        // A frame that does not move time on (a repeated or misordered timestamp) cannot be
        // stepped to: it is passed by.
        if (!run_.empty() && frame->time <= run_.back().time) continue;
        bytes_ += std::size_t(frame->picture.bytes());
        run_.push_back(std::move(*frame));
        break;
    }
    // The oldest frames go first; two always stay so that the frame on show and the one read
    // after it are both at hand.
    while (bytes_ > budget_ && run_.size() > 2) {
        bytes_ -= std::size_t(run_.front().picture.bytes());
        run_.pop_front();
        runFromStart_ = false;
    }
    return true;
}

std::optional<std::size_t> FrameStepper::locate(double seconds, double readAhead)
{
    const double at = seconds + Tolerance;
    if (run_.empty()) return std::nullopt;
    if (at < run_.front().time) return runFromStart_ ? std::optional<std::size_t>(0) : std::nullopt;
    while (run_.back().time <= at && !runAtEnd_) {
        if (!readerFollowsRun_ || at - run_.back().time > readAhead) return std::nullopt;
        if (!readInto()) break;
    }
    const auto after = std::upper_bound(run_.begin(), run_.end(), at,
                                        [](double t, const ReadFrame& f) { return t < f.time; });
    if (after == run_.begin()) return runFromStart_ ? std::optional<std::size_t>(0) : std::nullopt;
    return std::size_t(after - run_.begin() - 1);
}

std::optional<std::size_t> FrameStepper::decodeAround(double seconds)
{
    double back = 0;
    for (int attempt = 0; attempt < kSeekAttempts; ++attempt) {
        const double target = seconds - back;
        const bool fromStart = target <= 0 || attempt == kSeekAttempts - 1;
        clearRun();
        if (!reader_->seek(fromStart ? 0 : target)) {
            if (fromStart) return std::nullopt;
            back = seconds;   // only the start is left to try
            continue;
        }
        readerFollowsRun_ = true;
        runFromStart_ = fromStart;
        if (!readInto()) {
            if (fromStart) return std::nullopt;   // a clip without a single picture
            back = back == 0 ? 1 : back * 2;
            continue;
        }
        // Landed after the time wanted: a key frame after it. Try further back.
        if (!fromStart && run_.front().time > seconds + Tolerance) {
            back = back == 0 ? 1 : back * 2;
            continue;
        }
        return locate(seconds, std::numeric_limits<double>::infinity());
    }
    return std::nullopt;
}

DecodedFrame FrameStepper::shown(std::size_t index) const
{
    return DecodedFrame{run_[index].time, run_[index].picture.image()};
}

std::optional<DecodedFrame> FrameStepper::FrameAt(double seconds)
{
    if (!reader_) return std::nullopt;
    std::optional<std::size_t> at = locate(seconds, kReadAheadSeconds);
    if (!at) at = decodeAround(seconds);
    if (!at) return std::nullopt;
    return shown(*at);
}

std::optional<DecodedFrame> FrameStepper::Step(double seconds, int direction)
{
    if (!reader_) return std::nullopt;
    std::optional<std::size_t> at = locate(seconds, kReadAheadSeconds);
    if (!at && direction < 0) {
        // A step back from a frame not at hand: decoding from the key frame before a time just
        // short of the position brings the frame before the one on show with the same seek when
        // that one is a key frame (a position the player paused on is most often a frame's start).
        if (decodeAround(seconds - 2 * Tolerance)) at = locate(seconds, std::numeric_limits<double>::infinity());
    }
    if (!at) at = decodeAround(seconds);
    if (!at) return std::nullopt;
    if (direction > 0) {
        if (*at + 1 < run_.size()) return shown(*at + 1);
        if (readInto()) return shown(run_.size() - 1);
        return shown(*at);   // the last frame
    }
    if (direction < 0) {
        if (*at > 0) return shown(*at - 1);
        if (runFromStart_) return shown(*at);   // the first frame
        // The frame on show just before the current one starts: decoded from the key frame
        // before it, with every frame between kept for the next steps back.
        const ReadFrame current = run_[*at];
        const std::optional<std::size_t> before = decodeAround(current.time - 2 * Tolerance);
        if (before && run_[*before].time < current.time) return shown(*before);
        return DecodedFrame{current.time, current.picture.image()};
    }
    return shown(*at);
}
