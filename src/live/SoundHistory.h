#pragma once
// The last seconds of live sound, always held (30 s by default): a fixed ring of signed 16-bit
// mono samples, so memory stays the same however long the tool listens. Samples are numbered
// from the first one ever added; the ring holds the newest `held()` of them.
#include <cstdint>
#include <vector>

namespace live {

class SoundHistory {
public:
    static constexpr int HeldSeconds = 30;

    explicit SoundHistory(std::int32_t sampleRate = 44100, int seconds = HeldSeconds);

    // Empties the history and sets its rate (the length held stays in seconds).
    void reset(std::int32_t sampleRate);
    void append(const std::int16_t* samples, std::int64_t n);

    std::int32_t sampleRate() const { return rate_; }
    std::int64_t capacity() const { return std::int64_t(ring_.size()); }
    // Samples added since the reset, and how many of the newest are held.
    std::int64_t total() const { return total_; }
    std::int64_t held() const { return std::min<std::int64_t>(total_, capacity()); }
    // The number of the oldest sample held.
    std::int64_t oldest() const { return total_ - held(); }

    // The held samples from number `from`, `count` of them (clipped to what is held).
    std::vector<std::int16_t> samples(std::int64_t from, std::int64_t count) const;
    // The newest `count` samples (fewer when fewer are held) as full scale ±1, oldest first.
    std::vector<float> latest(std::int64_t count) const;
    // Copies the newest `count` samples into `out` (zeros before the oldest when fewer are held).
    void latestInto(float* out, std::int64_t count) const;

private:
    std::int32_t rate_;
    int seconds_;
    std::vector<std::int16_t> ring_;
    std::int64_t total_ = 0;
};

} // namespace live
