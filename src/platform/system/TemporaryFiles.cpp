#include "platform/system/TemporaryFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace platform {
namespace {
QSet<QString>& files()
{
    static QSet<QString> set;
    return set;
}
QString key(const QString& path) { return QFileInfo(path).absoluteFilePath(); }
}

namespace {
QString& OwnScratchFolder()
{
    static QString folder;
    return folder;
}

void RemoveScratchFolder()
{
    if (!OwnScratchFolder().isEmpty()) QDir(OwnScratchFolder()).removeRecursively();
}
}

QString ScratchFolder()
{
    static const QString folder = [] {
        const QString temporary = QDir::tempPath().isEmpty() ? QDir::currentPath() : QDir::tempPath();
        const QString own =
            QDir(temporary).filePath(QString("kivra-%1").arg(QCoreApplication::applicationPid()));
        if (!QDir().mkpath(own)) return temporary;
        // The folder goes when the program ends (when the application object is destroyed).
        OwnScratchFolder() = own;
        qAddPostRoutine(RemoveScratchFolder);
        return own;
    }();
    return folder;
}

void MarkTemporary(const QString& path) { files().insert(key(path)); }
bool IsTemporary(const QString& path) { return files().contains(key(path)); }
void ForgetTemporary(const QString& path) { files().remove(key(path)); }

void DeleteScratchFile(const QString& path)
{
    const bool scratchName = path.contains("Untitled") || path.toLower().contains("_.wav");
    if (scratchName && IsTemporary(path) && QFileInfo(path).isFile()) {
        QFile::remove(path);
        ForgetTemporary(path);
    }
}

} // namespace platform
