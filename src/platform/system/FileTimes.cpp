#include "platform/system/FileTimes.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace platform {
namespace {
constexpr std::int64_t kNanosecondsPerSecond = 1000000000;

std::int64_t Nanoseconds(const struct statx_timestamp& t)
{
    return std::int64_t(t.tv_sec) * kNanosecondsPerSecond + t.tv_nsec;
}

struct timespec Timespec(std::int64_t nanoseconds)
{
    std::int64_t seconds = nanoseconds / kNanosecondsPerSecond;
    std::int64_t rest = nanoseconds % kNanosecondsPerSecond;
    if (rest < 0) {   // times before 1970
        rest += kNanosecondsPerSecond;
        --seconds;
    }
    struct timespec t {};
    t.tv_sec = time_t(seconds);
    t.tv_nsec = long(rest);
    return t;
}
}

std::optional<FileTimes> ReadFileTimes(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct statx info {};
    if (name.isEmpty() ||
        statx(AT_FDCWD, name.constData(), 0, STATX_ATIME | STATX_MTIME | STATX_BTIME, &info) != 0)
        return std::nullopt;
    FileTimes times;
    if (info.stx_mask & STATX_BTIME) times.creation = Nanoseconds(info.stx_btime);
    times.lastAccess = Nanoseconds(info.stx_atime);
    times.lastWrite = Nanoseconds(info.stx_mtime);
    return times;
}

bool SetFileTimes(const QString& path, std::int64_t lastAccess, std::int64_t lastWrite)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty()) return false;
    const struct timespec times[2] = {Timespec(lastAccess), Timespec(lastWrite)};
    return utimensat(AT_FDCWD, name.constData(), times, 0) == 0;
}

} // namespace platform
