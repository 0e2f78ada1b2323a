#pragma once
// One sequence capture into the capture file: which camera pictures go into the file and at
// which frame numbers, when the capture is over, and the sound beside the pictures.
//
// Times are microseconds on one steady clock, given by the caller (tests pass their own). The
// first picture starts the clip at frame 0. Each later picture goes to the next frame period
// when it is at most half a period early or less than a whole period late for it (a camera's
// uneven timing drops nothing), and otherwise to the period its time falls in (to the nearest),
// so the clip plays at the pace the pictures were taken: a camera slower than the frame rate
// leaves periods without a picture (dropped frames, which the file fills by repeating the picture
// before), a faster one has its extra pictures skipped.
//
// Sound is recorded from before the first picture; the sound before the first picture is cut
// off (or silence put in front when the sound started later), so both streams start together.
// With a time limit the clip holds the frame periods that begin within it and as much sound;
// without one, the sound ends with the pictures.
#include "platform/video/AviWriter.h"
#include "capture/device/CaptureParameters.h"
#include "capture/device/CaptureStatus.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>

class SequenceCapture {
public:
    struct Setup {
        CaptureParameters parameters;        // frame period, time limit, index size
        AviVideoFormat video;                  // its frame period is the parameters'
        std::optional<WaveFormatEx> audio;   // when sound is recorded
    };

    // Opens the capture file. startUs: now; the time limit counts from here until the first
    // picture arrives, then from the first picture.
    bool start(const QString& path, const Setup& setup, std::int64_t startUs);

    enum class Step {
        Taken,      // written
        Skipped,    // its frame period already has a picture
        Finished,   // beyond the time limit or the index size: the capture is over
        Failed,     // the file could not be written (see writer())
    };
    Step addFrame(const QImage& picture, std::int64_t timeUs);
    // False when a picture of this time would be skipped (its frame period has one already), so
    // the caller need not make it.
    bool wouldTake(std::int64_t timeUs) const;

    // The sound recorder started at this time: the first sound bytes belong to it.
    void soundStarted(std::int64_t timeUs);
    // Sound as it arrives, in the setup's audio format. False when the file could not be written.
    bool addSound(const QByteArray& pcm);

    // True once the time limit has passed (never without a limit).
    bool timeUp(std::int64_t nowUs) const;
    // No more pictures are taken; sound is still taken until finish(), up to the pictures'
    // length.
    void stopPictures() { finished_ = true; }
    // The sound the clip should have, in samples: as long as the time limit, or (once the
    // pictures stopped) as the pictures; and what it has.
    std::int64_t soundSamplesWanted() const;
    std::int64_t soundSamples() const { return soundSamples_; }
    bool started() const { return firstUs_ >= 0; }

    // Closes the file. True when everything reached the disk.
    bool finish();

    CaptureCounts counts() const;
    const AviWriter& writer() const { return writer_; }
    const Setup& setup() const { return setup_; }

private:
    bool writeSound(QByteArray pcm);
    std::int64_t slotOf(std::int64_t timeUs) const;
    std::int64_t limitSlots() const;

    AviWriter writer_;
    Setup setup_;
    std::int64_t period_ = 66667;
    std::int64_t startUs_ = 0;
    std::int64_t firstUs_ = -1;      // time of the first picture
    std::int64_t lastSlot_ = -1;
    std::int64_t dropped_ = 0;
    std::int64_t soundStartUs_ = -1;
    QByteArray soundBeforeFirst_;    // sound held until the first picture fixes the start
    std::int64_t soundSamples_ = 0;  // samples written
    bool soundLinedUp_ = false;
    bool finished_ = false;   // no more pictures
    bool closed_ = false;     // the file is closed
};
