#pragma once
// A media file read with libavformat and libavcodec: what its header and the start of its streams
// say about it (ClipInfo), and the pictures of its video stream one after another, decoded, for
// the video player's frame steps (the playback engine may land a seek on a neighbouring frame;
// MPEG-4 with B-frames does).
//
// The one class of KIVRA that reads media with FFmpeg's libraries (AviWriter writes).
#include "platform/video/ClipInfo.h"
#include "platform/video/FrameReader.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class ClipReader : public FrameReader {
public:
    // Opens a file and reads its header and the start of its streams; no decoder is opened. Null
    // for a missing, unreadable or non-media file. Never throws.
    static std::unique_ptr<ClipReader> Open(const QString& path);
    // Opens the first video stream of a clip (not a sound file's cover picture) for decoding, at
    // its first frame. Null for a missing file, a file without video, one no decoder of this
    // system reads or one without a single picture. Never throws.
    static std::unique_ptr<ClipReader> OpenVideo(const QString& path);
    ~ClipReader() override;
    ClipReader(const ClipReader&) = delete;
    ClipReader& operator=(const ClipReader&) = delete;

    // What the header and the start of the streams say; empty when nothing was found in them.
    ClipInfo info() const;
    // The pictures of the main video stream: the count the header gives, or, where it has none
    // (a capture cut short never wrote it), the video packets counted through the file, which
    // moves the reading position (seek before reading on). 0 without video.
    std::int64_t videoFrames();

    // The clip's picture size in pixels and its nominal frames per second (0 when unknown), for
    // a reader opened with OpenVideo.
    QSize pictureSize() const;
    double frameRate() const;

    bool seek(double seconds) override;
    // The next frame, its picture kept as decoded until it is asked for.
    std::optional<ReadFrame> next() override;
    // The next frame with its picture in RGB.
    std::optional<DecodedFrame> read();

private:
    struct Demuxer;
    struct Decoder;
    explicit ClipReader(std::unique_ptr<Demuxer> demuxer);
    bool openDecoder();
    bool findOrigin();
    std::unique_ptr<Demuxer> in_;
    std::unique_ptr<Decoder> d_;
};
