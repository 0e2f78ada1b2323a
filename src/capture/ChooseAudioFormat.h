#pragma once
// Choosing the audio format of video capture: the sound format chooser, starting from the capture
// window's format, sets the one chosen on the capture window of the capture main window (opened
// without being shown when it is not open). The frame's Audio Settings, the capture main window
// and the sequence settings dialog call it.
class QWidget;

void ChooseAudioFormat(QWidget* owner);
