#pragma once
// Opens a clip in a new video player window, routed to the component the frame's playback choice
// gives it. At most 255 windows are opened in one run; later requests open nothing. An empty path
// asks for a clip first, through the player's default window, which is never shown. A file
// with nothing to play in it (see CheckClipPlayable) opens no window: its message is shown.
#include <QString>

void OpenVideoWindow(const QString& path);

// How many player windows this run has opened (the last window number given).
int VideoWindowCounter();

// The type list of the dialogs that choose a clip (the frame's and the player's).
QString VideoFileFilter();
