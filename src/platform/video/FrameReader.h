#pragma once
// What reading a clip's frames one after another needs: seek near a time, then read on. The frame
// stepping logic is written against this, so that a test can give it a made-up timeline.
//
// Times are seconds from the clip's first picture, the scale the playback engine reports its
// position in: a 25 frames-per-second clip has its frames at 0, 0.04, 0.08...
#include <QImage>

#include <cstddef>
#include <memory>
#include <optional>

struct DecodedFrame {
    double time = 0;   // when the picture comes on screen, seconds from the clip's first picture
    QImage picture;    // RGB32, the picture's own size
};

// A frame's picture as the reader holds it: for a decoder, the decoded planes, turned into an
// RGB picture only when it is shown (most frames a step decodes are never shown). Shares what it
// holds when copied.
class FramePicture {
public:
    // The decoded form of a picture, turned into RGB when asked.
    class Source {
    public:
        virtual ~Source() = default;
        virtual QImage image() const = 0;
        virtual std::size_t bytes() const = 0;
    };

    FramePicture() = default;
    explicit FramePicture(QImage image) : image_(std::move(image)) {}
    explicit FramePicture(std::shared_ptr<const Source> source) : source_(std::move(source)) {}

    // The picture in RGB32; null for a picture that cannot be shown.
    QImage image() const { return source_ ? source_->image() : image_; }
    // The memory the picture holds as kept.
    std::size_t bytes() const { return source_ ? source_->bytes() : std::size_t(image_.sizeInBytes()); }

private:
    QImage image_;
    std::shared_ptr<const Source> source_;
};

struct ReadFrame {
    double time = 0;
    FramePicture picture;
};

class FrameReader {
public:
    virtual ~FrameReader() = default;
    // Positions the reader at a key frame at or before the time (at the first frame for a time
    // before it), so that next() goes on from there. Some formats land on a key frame after the
    // time: callers check the first frame read. False when the clip cannot be sought at all.
    virtual bool seek(double seconds) = 0;
    // The next frame in presentation order; nothing at the end of the clip.
    virtual std::optional<ReadFrame> next() = 0;
};
