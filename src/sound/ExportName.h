#pragma once
// The file names of an audio save, from the name chosen in the save dialog and the file type
// selected there. Pure: the file system is asked only whether a name exists.
//
// MP3 is chosen when the name ends in ".mp3" (any letter case) or the second type is selected.
// The file name (not its folder) is then lower-cased, every ".wav" in it removed and ".mp3"
// appended unless it ends so; the WAV written first (the encoder's input) takes the MP3's name
// with ".wav", or "-.wav" when that file exists already, so an existing WAV is never
// overwritten. Otherwise the save is a WAV: a name not ending in ".wav" (any case) loses every
// ".mp3" and ".MP3" and gets ".wav". Folders are never touched, so "My Sounds.WAV.d/Song.WAV"
// saved as MP3 gives "My Sounds.WAV.d/song.mp3".

#include <QFile>
#include <QString>
#include <functional>

struct ExportName {
    bool mp3 = false;
    QString target;     // the file the user gets: the WAV, or the MP3
    QString wav;        // the WAV written: the target itself, or the MP3's intermediate WAV
    QString staleWav;   // an older file of the "-.wav" name, to delete before writing; or empty
};

// The save dialog's type list: "Wave Files  (*.wav)|*.wav|mp3 File  (*.mp3)|*.mp3".
QString ExportFilter();

// chosen: the path from the dialog; filterIndex: the dialog's 1-based FilterIndex.
// sourceFile: the sound being saved; the intermediate WAV never takes its name (when the source
// is itself "clip-.wav" and clip.wav exists, the intermediate becomes "clip--.wav").
ExportName ChooseExportName(const QString& chosen, int filterIndex,
                            const QString& sourceFile = QString(),
                            const std::function<bool(const QString&)>& exists =
                                [](const QString& path) { return QFile::exists(path); });
