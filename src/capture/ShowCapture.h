#pragma once
// The capture tools as the frame opens and closes them: the capture main window (" Video
// Graber"), which holds the capture session that the time-lapse window and the capture dialogs
// address.
class QWidget;

// Shows the capture main window, loading it first.
void ShowCapture();
// Closes the capture main window if it is loaded, so that it stores its own settings.
void CloseCapture();
// The frame's Audio Settings: the capture's sound format chooser on the session of the capture
// main window, which is loaded without being shown when it is not open.
void ChooseAudioFormat(QWidget* owner);
