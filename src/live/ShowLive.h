#pragma once
// The live sound window of the program, shown and brought to the front (made on first use, when
// it starts listening). `header` writes the WAV header of the sound it hands to the analyser.
#include "platform/audio/WaveRecordingFile.h"

void ShowLiveSound(WaveHeaderFn header);
