#pragma once
// The capture tools as the frame opens and closes them: the capture main window (" Video
// Graber"), which holds the capture window that the time-lapse window and the capture dialogs
// address.

// Shows the capture main window, loading it first.
void ShowCapture();
// Closes the capture main window if it is loaded, so that it stores its own settings.
void CloseCapture();
