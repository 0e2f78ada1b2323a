#include "capture/FileSpace.h"

#include "general/General.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <filesystem>

namespace capture {

QString FreeDiskMegabytes(const QString& path)
{
    std::filesystem::path p(QFile::encodeName(path).toStdString());
    std::error_code error;
    // The file may not exist yet: its nearest existing folder tells the file system.
    while (!p.empty() && !std::filesystem::exists(p, error)) {
        const auto parent = p.parent_path();
        if (parent == p) break;
        p = parent;
    }
    if (p.empty()) p = ".";
    const std::filesystem::space_info space = std::filesystem::space(p, error);
    if (error || space.available == std::uintmax_t(-1)) return "0";
    return QString::number(space.available / 1024 / 1024);
}

QString InitialAllocation(std::int64_t fileBytes)
{
    if (fileBytes > 524288) return general::NumText(double(fileBytes) / 1048576.0);
    return "1";
}

QString LimitAllocation(const QString& entry, const QString& freeMegabytes)
{
    const double value = general::Val(entry);
    const double free = general::Val(freeMegabytes);
    if (value < 0) return "1";
    if (free >= 1 && value > free) return freeMegabytes;
    return entry;
}

std::int64_t AllocationBytes(const QString& entry)
{
    const double bytes = std::floor(general::Val(entry) * 1048576.0);
    if (!(bytes > 0)) return 0;
    return bytes >= 9.0e18 ? std::int64_t(9.0e18) : std::int64_t(bytes);
}

} // namespace capture
