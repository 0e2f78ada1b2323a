#pragma once
// A byte ring between one writer thread and one reader thread, without locks: the audio input
// writes what it receives, the GUI thread drains it into the recording's file. Its size is fixed,
// so memory stays the same however long the recording. A block that does not fit is dropped
// whole (blocks are whole sample frames, so what is kept stays aligned) and counted.
#include <QtGlobal>
#include <atomic>
#include <cstdint>
#include <vector>

class RingBuffer {
public:
    // capacity: bytes the ring can hold, rounded up to a power of two.
    explicit RingBuffer(std::size_t capacity);

    // Writer side: stores the whole block, or drops it whole when it does not fit. True if stored.
    bool write(const char* data, std::size_t size);
    // Reader side: moves up to `size` bytes out; the number moved.
    std::size_t read(char* data, std::size_t size);
    // Bytes waiting to be read.
    std::size_t available() const;
    std::size_t capacity() const { return buffer_.size(); }
    // Bytes dropped because the ring was full, since the last reset.
    std::uint64_t dropped() const { return dropped_.load(std::memory_order_relaxed); }
    // Empties the ring; only while neither side is working.
    void reset();

private:
    std::vector<char> buffer_;
    std::size_t mask_;
    std::atomic<std::uint64_t> head_{0};   // total bytes written
    std::atomic<std::uint64_t> tail_{0};   // total bytes read
    std::atomic<std::uint64_t> dropped_{0};
};
