#pragma once
// Which of the player window's two playback components a clip opens in.
#include "platform/ui/PlaybackChoice.h"

#include <QString>

enum class ClipComponent {
    MediaPlayer,   // WindowsMediaPlayer1, the component with its own controls
    ActiveMovie    // ActiveMovie1, the second component
};

// Automatic: a path whose last four characters, in lower case, are ".avi", ".mpg" or ".asf" goes
// to the second component, any other to the media player component. The other two choices send
// every clip to their own component.
ClipComponent RouteClip(PlaybackChoice choice, const QString& path);
