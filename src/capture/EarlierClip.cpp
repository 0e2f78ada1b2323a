#include "capture/EarlierClip.h"

#include "general/General.h"
#include "platform/video/ClipInfo.h"
#include "text/LoadText.h"

#include <QDir>
#include <QFileInfo>

namespace capture {

std::optional<EarlierClip> ClipToReplace(const QString& path, bool appending)
{
    if (appending || path.isEmpty() || !QFileInfo(path).isFile()) return std::nullopt;
    const std::int64_t frames = ClipInfo::VideoFrames(path);
    if (frames <= 0) return std::nullopt;
    EarlierClip clip;
    clip.frames = frames;
    const ClipInfo info = ClipInfo::Read(path);
    clip.seconds = info.duration > 0 ? info.duration : info.frameRate > 0 ? double(frames) / info.frameRate : 0;
    return clip;
}

QString ReplaceClipQuestion(const QString& path, const EarlierClip& clip)
{
    // Tenths of a second: a short clip of a few frames still shows its length.
    const double tenths = general::Round(clip.seconds, 1);
    return LoadText(681).arg(QDir::toNativeSeparators(path), general::NumText(double(clip.frames)),
                             general::NumText(tenths));
}

} // namespace capture
