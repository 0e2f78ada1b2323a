#pragma once
// Opens a WAV file in a new sound analyser window (channel choice: 0 none, 1 left, 2 right).
// At most 255 windows are opened in one run; later requests open nothing.
#include <QString>

void OpenSoundWindow(const QString& path, int channelChoice = 0);

// How many analyser windows this run has opened (the last window number given).
int SoundWindowCounter();
