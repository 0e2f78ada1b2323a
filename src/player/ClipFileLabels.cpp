#include "player/ClipFileLabels.h"

#include "general/General.h"

#include <QCoreApplication>
#include <QFileInfo>

QString ClipCaption(const QString& path)
{
    if (path.size() <= 55) return path;
    return path.left(25) + " ... " + path.right(25);
}

QString ClipSizeText(qint64 bytes)
{
    return "(" + general::NumText(general::Round(double(bytes) / 1024)) + " kB)";
}

ClipFileLabels ClipFileLabels::Read(const QString& path)
{
    ClipFileLabels labels;
    labels.caption = ClipCaption(path);
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile()) {
        labels.outcome = Outcome::Failure("Error!!", QCoreApplication::applicationName(),
                                          "cannot read the file " + path);
        return labels;
    }
    labels.date = general::DateText(file.lastModified());
    labels.size = ClipSizeText(file.size());
    return labels;
}
