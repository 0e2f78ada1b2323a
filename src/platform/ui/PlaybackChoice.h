#pragma once
// Which playback component the video player opens clips in: the frame's "Video Player" choice,
// which each new player window copies. Automatic sends .avi, .mpg and .asf clips to the second
// component and everything else to the media player component.
enum class PlaybackChoice { Automatic, MediaPlayer, ActiveMovie };
