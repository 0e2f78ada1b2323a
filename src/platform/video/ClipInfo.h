#pragma once
// What a media file says about itself (ClipReader reads it): the frame rate and picture size of
// its video stream and its length. The media player falls back on it where the playback engine
// does not report them (MJPEG AVI files, for one).
#include <QString>
#include <cstdint>

class ClipInfo {
public:
    double frameRate = 0;   // frames per second of the first video stream, 0 without video
    int width = 0;          // picture size in pixels, 0 without video
    int height = 0;
    double duration = 0;    // seconds, 0 when unknown
    bool hasAudio = false;

    bool hasVideo() const { return width > 0 && height > 0; }
    // True for a file that is not a readable media file (nothing was found in it).
    bool isEmpty() const { return !hasVideo() && !hasAudio && duration <= 0; }

    // Reads the file's header and the start of its streams. Never throws; a missing, unreadable
    // or non-media file gives an empty result.
    static ClipInfo Read(const QString& path);

    // The pictures of the file's first video stream: the count its header gives, or, where the
    // header has none (a capture cut short never wrote it), the video packets counted through
    // the file. 0 for a file without video, and for a missing, unreadable or non-media file.
    static std::int64_t VideoFrames(const QString& path);
};
