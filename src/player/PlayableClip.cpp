#include "player/PlayableClip.h"

#include "text/LoadText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

namespace {
bool IsWebAddress(const QString& path)
{
    // A scheme of one letter is a drive letter; "file:" names a local file.
    const QUrl url(path);
    return url.isValid() && url.scheme().size() > 1 && !url.isLocalFile();
}
}

Outcome CheckClipPlayable(const QString& path, bool exists, qint64 bytes, const ClipInfo& info)
{
    const QString title = LoadText(516);
    if (!exists)
        return Outcome::Failure("Error!!", QCoreApplication::applicationName(), "no such file: " + path);
    if (bytes == 0)
        return Outcome::Failure(LoadText(705).arg(path), title, "the file is empty", MsgIcon::Exclamation);
    if (info.isEmpty())
        return Outcome::Failure(LoadText(704).arg(path), title, "no stream found", MsgIcon::Exclamation);
    return Outcome::Success();
}

Outcome CheckClipPlayable(const QString& path)
{
    if (IsWebAddress(path)) return Outcome::Success();
    const QFileInfo file(path);
    const bool exists = file.isFile();
    const qint64 bytes = exists ? file.size() : 0;
    return CheckClipPlayable(path, exists, bytes, exists && bytes > 0 ? ClipInfo::Read(path) : ClipInfo());
}
