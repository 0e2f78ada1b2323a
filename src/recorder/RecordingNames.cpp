#include "recorder/RecordingNames.h"

#include "general/General.h"
#include "platform/system/TemporaryFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ProposedSaveName(const QString& midiFileName, const QDateTime& stopTime)
{
    if (!midiFileName.isEmpty()) {
        QFileInfo midi(midiFileName);
        // A blank-free alias in the scratch folder stands for the user's own file.
        if (midi.isSymLink() && midi.absolutePath() == QDir(platform::ScratchFolder()).absolutePath())
            midi = QFileInfo(midi.symLinkTarget());
        const QString path = midi.filePath();
        const QString suffix = midi.suffix();
        return (suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1)) + ".wav";
    }
    QString name = "Audio_" + general::DateText(stopTime);
    return name.replace(':', '-').replace(' ', '_').remove('/');
}

QString AutomaticSaveName(const QDateTime& startTime, const QDateTime& stopTime)
{
    QString name = "Radio_from_" + general::DateText(startTime) + "_to_" + general::DateText(stopTime);
    return name.replace(':', '.').replace(' ', '_') + ".wav";
}

QString AutomaticSaveFolder(const QString& currentFolder, const QString& musicFolder)
{
    const QFileInfo current(currentFolder);
    if (current.isDir() && current.isWritable()) return current.absoluteFilePath();
    if (musicFolder.isEmpty() || !QDir().mkpath(musicFolder)) return {};
    const QFileInfo music(musicFolder);
    return music.isWritable() ? music.absoluteFilePath() : QString();
}

QString MusicFolder()
{
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    return music.isEmpty() ? QDir::homePath() : music;
}
