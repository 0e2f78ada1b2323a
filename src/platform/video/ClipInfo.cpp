#include "platform/video/ClipInfo.h"

#include "platform/video/ClipReader.h"

ClipInfo ClipInfo::Read(const QString& path)
{
    const std::unique_ptr<ClipReader> reader = ClipReader::Open(path);
    return reader ? reader->info() : ClipInfo();
}

std::int64_t ClipInfo::VideoFrames(const QString& path)
{
    const std::unique_ptr<ClipReader> reader = ClipReader::Open(path);
    return reader ? reader->videoFrames() : 0;
}
