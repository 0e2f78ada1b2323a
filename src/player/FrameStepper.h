#pragma once
// Finds a clip's frames by decoding them: the frame on show at a position, and the frames one
// before and one after it. A step lands exactly on the neighbouring frame whatever the codec, the
// spacing of key frames or the frame rate (whole, 29.97 or varying), which a seek by time to
// "position + 1/rate" does not promise.
//
// Positions come from the playback engine in whole milliseconds, so a frame that starts less
// than half a millisecond after a position counts as on show at it (2.033 s is 30 fps frame 61,
// which starts at 2.0333 s).
//
// The frames decoded since the last seek are kept as the decoder gave them (a third of an RGB
// picture's memory for most clips), up to a memory budget that holds a couple of key-frame groups
// at 720p (one at 1080p), and turned into RGB only when shown. Stepping back and forth among them
// decodes nothing and stepping on past them decodes one frame. A step back past them seeks to
// the key frame before and decodes that group once, which serves the next steps back.
#include "platform/video/FrameReader.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>

class FrameStepper {
public:
    static constexpr double Tolerance = 0.0005;   // seconds
    static constexpr std::size_t DefaultBudget = std::size_t(256) << 20;   // bytes of pictures kept

    explicit FrameStepper(std::unique_ptr<FrameReader> reader, std::size_t budgetBytes = DefaultBudget);

    // The frame on show at a position: the last one starting at or before it; the first frame for
    // a position before it. Nothing when no frame can be decoded.
    std::optional<DecodedFrame> FrameAt(double seconds);
    // The frame one step from the frame on show at a position: the next one for a positive
    // direction, the previous one for a negative. At the clip's last or first frame, that frame.
    std::optional<DecodedFrame> Step(double seconds, int direction);

    // Frames decoded so far (what the steps cost).
    int framesDecoded() const { return reads_; }

private:
    std::optional<std::size_t> locate(double seconds, double readAhead);
    std::optional<std::size_t> decodeAround(double seconds);
    bool readInto();
    void clearRun();

    std::unique_ptr<FrameReader> reader_;
    DecodedFrame shown(std::size_t index) const;

    std::deque<ReadFrame> run_;        // consecutive frames of the clip, in time order
    bool runFromStart_ = false;        // run_.front() is the clip's first frame
    bool runAtEnd_ = false;            // nothing follows run_.back()
    bool readerFollowsRun_ = false;    // the reader's next frame is the one after run_.back()
    std::size_t bytes_ = 0;
    std::size_t budget_;
    int reads_ = 0;
};
