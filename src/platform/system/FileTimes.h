#pragma once
// File times: read with statx, set with utimensat. Times are nanoseconds since 1970-01-01 UTC.
//
// Linux keeps a creation ("birth") time only on some file systems (ext4, btrfs, xfs, tmpfs on
// recent kernels) and offers no call to set it: a copy can carry its source's last-write and
// last-access times, never its creation time.
#include <QString>

#include <cstdint>
#include <optional>

namespace platform {

struct FileTimes {
    std::int64_t creation = 0;     // 0 where the file system keeps none
    std::int64_t lastAccess = 0;
    std::int64_t lastWrite = 0;
};

// The times of an existing file (of the file a symbolic link names); nothing when it cannot be
// examined.
std::optional<FileTimes> ReadFileTimes(const QString& path);

// Sets a file's last-access and last-write times, to the nanosecond where the file system keeps
// them. False when the file is missing or the times cannot be set (not the owner, read-only
// file system).
bool SetFileTimes(const QString& path, std::int64_t lastAccess, std::int64_t lastWrite);

} // namespace platform
