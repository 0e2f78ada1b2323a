#pragma once
// The names the recorder gives recordings: the one the Save dialog proposes, and the one a
// programmed recording is saved under automatically, and where that one goes.
#include <QDateTime>
#include <QString>

// With a MIDI file chosen, the MIDI file's own path (the file a scratch-folder link points to)
// with its extension turned into ".wav"; otherwise "Audio_" + the stop time, ":" turned into "-",
// blanks into "_", "/" removed.
QString ProposedSaveName(const QString& midiFileName, const QDateTime& stopTime);

// "Radio_from_<start>_to_<stop>.wav", every ":" turned into "." and every blank into "_".
QString AutomaticSaveName(const QDateTime& startTime, const QDateTime& stopTime);

// The folder an automatic save goes to: the current folder when it can be written, else the
// music folder (made when missing). Empty when neither can be written.
QString AutomaticSaveFolder(const QString& currentFolder, const QString& musicFolder);

// The user's music folder (XDG), or the home folder when the system names none.
QString MusicFolder();
