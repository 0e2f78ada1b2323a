#pragma once
// The recorder's sound device: the media-control interpreter on this system's audio, writing its
// WAV files with KIVRA's own header writer.
#include "platform/audio/WaveRecordingFile.h"

// KIVRA's WAV header writer, as the media-control interpreter takes it.
WaveHeaderFn KivraWaveHeader();

// Installs the audio device as MediaControl::Current() unless one is installed already (tests
// install a scripted one).
void InstallRecordingDevice();
