#include "live/SoundHistory.h"

#include <algorithm>

namespace live {

SoundHistory::SoundHistory(std::int32_t sampleRate, int seconds) : rate_(sampleRate), seconds_(seconds)
{
    reset(sampleRate);
}

void SoundHistory::reset(std::int32_t sampleRate)
{
    rate_ = std::max<std::int32_t>(1, sampleRate);
    ring_.assign(std::size_t(std::int64_t(rate_) * seconds_), 0);
    total_ = 0;
}

void SoundHistory::append(const std::int16_t* samples, std::int64_t n)
{
    const std::int64_t size = capacity();
    if (n > size) {   // only the newest fit
        samples += n - size;
        total_ += n - size;
        n = size;
    }
    std::int64_t at = total_ % size;
    const std::int64_t first = std::min(n, size - at);
    std::copy(samples, samples + first, ring_.begin() + at);
    std::copy(samples + first, samples + n, ring_.begin());
    total_ += n;
}

std::vector<std::int16_t> SoundHistory::samples(std::int64_t from, std::int64_t count) const
{
    const std::int64_t begin = std::max(from, oldest());
    const std::int64_t end = std::min(from + std::max<std::int64_t>(count, 0), total_);
    std::vector<std::int16_t> out;
    if (end <= begin) return out;
    out.reserve(std::size_t(end - begin));
    const std::int64_t size = capacity();
    for (std::int64_t i = begin; i < end; ++i) out.push_back(ring_[std::size_t(i % size)]);
    return out;
}

std::vector<float> SoundHistory::latest(std::int64_t count) const
{
    const std::int64_t n = std::min(std::max<std::int64_t>(count, 0), held());
    std::vector<float> out(static_cast<std::size_t>(n));
    latestInto(out.data(), n);
    return out;
}

void SoundHistory::latestInto(float* out, std::int64_t count) const
{
    const std::int64_t have = std::min(count, held());
    const std::int64_t pad = count - have;
    std::fill(out, out + pad, 0.0f);
    const std::int64_t size = capacity();
    std::int64_t at = (total_ - have) % size;
    for (std::int64_t i = 0; i < have; ++i) {
        out[pad + i] = ring_[std::size_t(at)] / 32768.0f;
        if (++at == size) at = 0;
    }
}

} // namespace live
