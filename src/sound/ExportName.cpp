#include "sound/ExportName.h"

#include "text/LoadText.h"

#include <QDir>

QString ExportFilter()
{
    return LoadText(610) + QStringLiteral("  (*.wav)|*.wav|mp3 ") + LoadText(580) +
           QStringLiteral(" (*.mp3)|*.mp3");
}

ExportName ChooseExportName(const QString& chosen, int filterIndex, const QString& sourceFile,
                            const std::function<bool(const QString&)>& exists)
{
    const qsizetype slash = chosen.lastIndexOf(QLatin1Char('/'));
    const QString folder = chosen.left(slash + 1);
    QString name = chosen.mid(slash + 1);

    ExportName result;
    result.mp3 = chosen.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive) || filterIndex == 2;
    if (!result.mp3) {
        if (!name.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive)) {
            name.remove(QStringLiteral(".mp3"));
            name.remove(QStringLiteral(".MP3"));
            name += QStringLiteral(".wav");
        }
        result.target = result.wav = folder + name;
        return result;
    }

    name = name.toLower();
    name.remove(QStringLiteral(".wav"));
    if (!name.endsWith(QLatin1String(".mp3"))) name += QStringLiteral(".mp3");
    result.target = folder + name;
    const QString base = folder + name.chopped(4);
    result.wav = base + QStringLiteral(".wav");
    if (exists(result.wav)) {
        const QString source = sourceFile.isEmpty() ? QString() : QDir::cleanPath(sourceFile);
        QString dashes = QStringLiteral("-");
        while (QDir::cleanPath(base + dashes + QStringLiteral(".wav")) == source)
            dashes += QLatin1Char('-');
        result.wav = base + dashes + QStringLiteral(".wav");
        if (exists(result.wav)) result.staleWav = result.wav;
    }
    return result;
}
