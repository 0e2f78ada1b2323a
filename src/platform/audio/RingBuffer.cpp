#include "platform/audio/RingBuffer.h"

#include <algorithm>
#include <cstring>

RingBuffer::RingBuffer(std::size_t capacity)
{
    std::size_t size = 1;
    while (size < capacity) size <<= 1;
    buffer_.resize(size);
    mask_ = size - 1;
}

bool RingBuffer::write(const char* data, std::size_t size)
{
    const std::uint64_t head = head_.load(std::memory_order_relaxed);
    const std::uint64_t tail = tail_.load(std::memory_order_acquire);
    if (size > buffer_.size() - std::size_t(head - tail)) {
        dropped_.fetch_add(size, std::memory_order_relaxed);
        return false;
    }
    const std::size_t start = std::size_t(head) & mask_;
    const std::size_t first = std::min(size, buffer_.size() - start);
    std::memcpy(buffer_.data() + start, data, first);
    std::memcpy(buffer_.data(), data + first, size - first);
    head_.store(head + size, std::memory_order_release);
    return true;
}

std::size_t RingBuffer::read(char* data, std::size_t size)
{
    const std::uint64_t tail = tail_.load(std::memory_order_relaxed);
    const std::uint64_t head = head_.load(std::memory_order_acquire);
    size = std::min(size, std::size_t(head - tail));
    const std::size_t start = std::size_t(tail) & mask_;
    const std::size_t first = std::min(size, buffer_.size() - start);
    std::memcpy(data, buffer_.data() + start, first);
    std::memcpy(data + first, buffer_.data(), size - first);
    tail_.store(tail + size, std::memory_order_release);
    return size;
}

std::size_t RingBuffer::available() const
{
    return std::size_t(head_.load(std::memory_order_acquire) - tail_.load(std::memory_order_acquire));
}

void RingBuffer::reset()
{
    head_.store(0);
    tail_.store(0);
    dropped_.store(0);
}
