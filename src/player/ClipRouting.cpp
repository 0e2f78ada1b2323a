#include "player/ClipRouting.h"

ClipComponent RouteClip(PlaybackChoice choice, const QString& path)
{
    switch (choice) {
    case PlaybackChoice::MediaPlayer: return ClipComponent::MediaPlayer;
    case PlaybackChoice::ActiveMovie: return ClipComponent::ActiveMovie;
    case PlaybackChoice::Automatic: break;
    }
    const QString ending = path.right(4).toLower();
    if (ending == ".avi" || ending == ".mpg" || ending == ".asf") return ClipComponent::ActiveMovie;
    return ClipComponent::MediaPlayer;
}
