#pragma once
// The analyser's open sound file: binary reads at 1-based byte positions, as the waveform and
// spectrum readers address it. A read past the end of the file is not an error: the missing
// bytes read as zeros and the position moves on as if they were there.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

class WaveFile {
public:
    WaveFile() = default;
    ~WaveFile();
    WaveFile(const WaveFile&) = delete;
    WaveFile& operator=(const WaveFile&) = delete;

    // Opens the file for reading; returns 0 or the system's error number (errno).
    int Open(const QString& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // File length in bytes (0 when closed).
    std::int64_t Length() const { return length_; }
    // The 1-based position of the next byte read.
    std::int64_t Position() const { return pos_; }
    void Seek(std::int64_t position) { pos_ = position < 1 ? 1 : position; }

    // Reads n bytes at the current position and moves on by n. Bytes past the end of the file
    // (or that cannot be read) are zeros. Returns how many bytes really came from the file.
    std::size_t Read(void* destination, std::size_t n);
    std::uint8_t ReadByte();
    std::int16_t ReadInt16();
    std::int32_t ReadInt32();

    // True when the last Read reached beyond the end of the file.
    bool PastEnd() const { return pastEnd_; }

private:
    bool fill(std::int64_t position, std::size_t wanted);

    int fd_ = -1;
    std::int64_t length_ = 0;
    std::int64_t pos_ = 1;
    bool pastEnd_ = false;
    // A read-ahead window: sequential reads grow it up to 1 MB, short hops forward read a small
    // block, and a far jump reads only the bytes asked for, so the single-frame positioned reads
    // of a long sound cost one small read each.
    std::vector<char> buffer_;
    std::int64_t bufferStart_ = 0;   // 1-based position of buffer_[0]
    std::size_t bufferUsed_ = 0;
    std::size_t nextFill_ = 512;
};
