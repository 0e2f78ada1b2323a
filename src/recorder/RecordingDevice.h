#pragma once
// The recorder's sound device: the media-control interpreter on this system's audio.

// Installs the audio device as MediaControl::Current() unless one is installed already (tests
// install a scripted one).
void InstallRecordingDevice();
