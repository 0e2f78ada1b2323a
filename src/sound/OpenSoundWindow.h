#pragma once
// Opens a WAV file in a new sound analyser window (channel choice: 0 none, 1 left, 2 right).
// At most 255 windows are opened in one run; later requests open nothing.
#include <QString>

class CommonDialog;

void OpenSoundWindow(const QString& path, int channelChoice = 0);

// How many analyser windows this run has opened (the last window number given).
int SoundWindowCounter();

// Shows an open dialog for a sound (the WAV and MP3 types, no title of an earlier save's) and
// returns the chosen file, or an empty text when the user cancels.
QString AskForSoundFile(CommonDialog& dialog);
