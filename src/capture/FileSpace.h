#pragma once
// The file-size dialog's rules: the free space on the capture file's disk, the size the dialog
// starts from, and how an entry is kept within the free space.
#include <QString>
#include <cstdint>

namespace capture {

// The whole megabytes free for this user on the file system of path (a file or folder; a file
// that does not exist yet counts by its folder), as text: bytes / 1024, cut, / 1024, cut.
// "0" when it cannot be told.
QString FreeDiskMegabytes(const QString& path);

// The size entry when the dialog opens: the capture file's size in megabytes (as a general
// number) when it is larger than 524288 bytes, otherwise "1" (also for a missing file, -1).
QString InitialAllocation(std::int64_t fileBytes);

// The entry after a change: a negative value becomes "1"; when at least 1 MB is free and the
// entry exceeds it, the entry becomes the free megabytes. Otherwise the text as typed.
QString LimitAllocation(const QString& entry, const QString& freeMegabytes);

// The bytes the entry asks for (megabytes × 1048576, 64-bit).
std::int64_t AllocationBytes(const QString& entry);

} // namespace capture
