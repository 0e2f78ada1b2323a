#pragma once
// The pictures of a clip, one after another, decoded with libavcodec: what the video player steps
// through frame by frame, where the playback engine may land a seek on a neighbouring frame
// (MPEG-4 with B-frames does).
//
// Times are seconds from the clip's first picture, the scale the playback engine reports its
// position in: a 25 frames-per-second clip has its frames at 0, 0.04, 0.08...
#include <QImage>
#include <QString>

#include <memory>
#include <optional>

struct DecodedFrame {
    double time = 0;   // when the picture comes on screen, seconds from the clip's first picture
    QImage picture;    // RGB32, the picture's own size
};

// What reading frames needs: seek near a time, then read on. The frame stepping logic is written
// against this, so that a test can give it a made-up timeline.
class FrameReader {
public:
    virtual ~FrameReader() = default;
    // Positions the reader at a key frame at or before the time (at the first frame for a time
    // before it), so that read() goes on from there. Some formats land on a key frame after the
    // time: callers check the first frame read. False when the clip cannot be sought at all.
    virtual bool seek(double seconds) = 0;
    // The next picture in presentation order; nothing at the end of the clip.
    virtual std::optional<DecodedFrame> read() = 0;
};

class VideoFrameReader : public FrameReader {
public:
    // Opens the first video stream of a clip (not a sound file's cover picture); null for a
    // missing file, a file without video or one no decoder of this system reads. Never throws.
    static std::unique_ptr<VideoFrameReader> Open(const QString& path);
    ~VideoFrameReader() override;

    bool seek(double seconds) override;
    std::optional<DecodedFrame> read() override;

    // The clip's picture size in pixels and its nominal frames per second (0 when unknown).
    QSize pictureSize() const;
    double frameRate() const;

private:
    struct Decoder;
    explicit VideoFrameReader(std::unique_ptr<Decoder> decoder);
    bool findOrigin();
    std::unique_ptr<Decoder> d_;
};
