#include "platform/audio/WaveFile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::size_t SmallFill = 512;
constexpr std::size_t LargestFill = 1 << 20;
}

WaveFile::~WaveFile()
{
    Close();
}

int WaveFile::Open(const QString& path)
{
    Close();
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno ? errno : EIO;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : (errno ? errno : EIO);
        ::close(fd);
        return error;
    }
    fd_ = fd;
    length_ = st.st_size;
    pos_ = 1;
    bufferUsed_ = 0;
    nextFill_ = SmallFill;
    pastEnd_ = false;
    return 0;
}

void WaveFile::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    length_ = 0;
    pos_ = 1;
    bufferUsed_ = 0;
    buffer_.clear();
    buffer_.shrink_to_fit();
}

bool WaveFile::fill(std::int64_t position, std::size_t wanted)
{
    // Sequential reading (the new block starts where the last one ended) doubles the block; a
    // short hop forward reads a small block that will likely serve the next hops too; a far
    // jump (one frame per graph unit of a long sound) reads only what is asked.
    const std::int64_t end = bufferStart_ + std::int64_t(bufferUsed_);
    if (bufferUsed_ > 0 && position == end)
        nextFill_ = std::min(std::max(nextFill_ * 2, SmallFill), LargestFill);
    else if (bufferUsed_ > 0 && position > end && position - end < std::int64_t(SmallFill))
        nextFill_ = SmallFill;
    else
        nextFill_ = 0;
    const std::size_t size = std::min(std::max(wanted, nextFill_), LargestFill);
    if (buffer_.size() < size)
        buffer_.resize(size);
    bufferStart_ = position;
    bufferUsed_ = 0;
    while (bufferUsed_ < size) {
        const ssize_t got = ::pread(fd_, buffer_.data() + bufferUsed_, size - bufferUsed_,
                                    off_t(position - 1 + std::int64_t(bufferUsed_)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        bufferUsed_ += std::size_t(got);
    }
    return bufferUsed_ > 0;
}

std::size_t WaveFile::Read(void* destination, std::size_t n)
{
    char* out = static_cast<char*>(destination);
    std::size_t done = 0;
    std::size_t real = 0;
    pastEnd_ = false;
    while (done < n) {
        const std::int64_t at = pos_ + std::int64_t(done);
        if (fd_ < 0 || at > length_)
            break;
        if (!(at >= bufferStart_ && at < bufferStart_ + std::int64_t(bufferUsed_))) {
            // A read as large as the largest window goes straight to the caller's memory.
            if (n - done >= LargestFill) {
                const ssize_t got = ::pread(fd_, out + done, n - done, off_t(at - 1));
                if (got < 0 && errno == EINTR)
                    continue;
                if (got <= 0)
                    break;
                done += std::size_t(got);
                real += std::size_t(got);
                continue;
            }
            if (!fill(at, n - done))
                break;
        }
        const std::size_t offset = std::size_t(at - bufferStart_);
        const std::size_t take = std::min(n - done, bufferUsed_ - offset);
        std::memcpy(out + done, buffer_.data() + offset, take);
        done += take;
        real += take;
    }
    if (done < n) {
        std::memset(out + done, 0, n - done);
        pastEnd_ = true;
    }
    pos_ += std::int64_t(n);
    return real;
}

std::uint8_t WaveFile::ReadByte()
{
    std::uint8_t b = 0;
    Read(&b, 1);
    return b;
}

std::int16_t WaveFile::ReadInt16()
{
    unsigned char b[2];
    Read(b, 2);
    return std::int16_t(std::uint16_t(b[0] | (b[1] << 8)));
}

std::int32_t WaveFile::ReadInt32()
{
    unsigned char b[4];
    Read(b, 4);
    return std::int32_t(std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) |
                        (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24));
}
