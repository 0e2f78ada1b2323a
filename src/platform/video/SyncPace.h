#pragma once
// When a file that is being written is handed to the disk: once a second at most, so that the
// disk and the processor stay free, and never later than a second after the data was written,
// so that a power cut loses at most the last second. The first request is served at once; the
// requests that come while a sync waits for its turn are served by that one sync. Times are
// steady-clock microseconds passed in by the caller.
#include <algorithm>
#include <cstdint>

class SyncPace {
public:
    static constexpr std::int64_t DefaultIntervalUs = 1'000'000;

    explicit SyncPace(std::int64_t intervalUs = DefaultIntervalUs) : interval_(intervalUs) {}

    // Data was written and should reach the disk. True when no sync was waiting yet (the one
    // that serves it must be started); false when a waiting one serves it too.
    bool request()
    {
        const bool first = !pending_;
        pending_ = true;
        return first;
    }
    bool pending() const { return pending_; }

    // When the sync for the waiting requests may start, asked at nowUs: not sooner than an
    // interval after the last one began, and at once when that is longer ago.
    std::int64_t startAtUs(std::int64_t nowUs) const
    {
        return lastUs_ < 0 ? nowUs : std::max(nowUs, lastUs_ + interval_);
    }

    // A sync begins at nowUs: it serves every request made before it.
    void started(std::int64_t nowUs)
    {
        lastUs_ = nowUs;
        pending_ = false;
    }

private:
    std::int64_t interval_;
    std::int64_t lastUs_ = -1;
    bool pending_ = false;
};
