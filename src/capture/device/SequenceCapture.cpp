#include "capture/device/SequenceCapture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {
// Sound held before the first picture is kept for at most this long (a camera that is slow to
// start must not fill the memory).
constexpr std::int64_t kMaxHeldSoundUs = 10'000'000;
}

bool SequenceCapture::start(const QString& path, const Setup& setup, std::int64_t startUs)
{
    setup_ = setup;
    period_ = std::max<std::int64_t>(1, setup.parameters.requestMicroSecPerFrame);
    setup_.video.microsecondsPerFrame = period_;
    if (!setup.parameters.captureAudio) setup_.audio.reset();
    startUs_ = startUs;
    firstUs_ = -1;
    lastSlot_ = -1;
    dropped_ = 0;
    soundStartUs_ = -1;
    soundBeforeFirst_.clear();
    soundSamples_ = 0;
    soundLinedUp_ = false;
    finished_ = false;
    closed_ = false;
    return writer_.open(path, setup_.video, setup_.audio);
}

std::int64_t SequenceCapture::limitSlots() const
{
    std::int64_t periods = std::numeric_limits<std::int64_t>::max();
    if (setup_.parameters.limitEnabled) {
        const std::int64_t us = std::int64_t(std::max(0, setup_.parameters.timeLimit)) * 1000000;
        periods = (us + period_ - 1) / period_;
    }
    if (setup_.parameters.indexSize > 0) periods = std::min<std::int64_t>(periods, setup_.parameters.indexSize);
    return periods;
}

std::int64_t SequenceCapture::slotOf(std::int64_t timeUs) const
{
    if (firstUs_ < 0) return 0;
    const double exact = double(timeUs - firstUs_) / double(period_);
    const std::int64_t next = lastSlot_ + 1;
    // More than half a period early for the next period: that period's picture is still to come.
    if (exact < double(next) - 0.5) return lastSlot_;
    // Up to a period late, a picture still fills the next period: a camera's uneven timing
    // drops nothing.
    if (exact < double(next) + 1.0) return next;
    // Later: the periods before it got no picture.
    return std::int64_t(std::floor(exact + 0.5));
}

bool SequenceCapture::wouldTake(std::int64_t timeUs) const
{
    return finished_ || firstUs_ < 0 || slotOf(timeUs) > lastSlot_;
}

SequenceCapture::Step SequenceCapture::addFrame(const QImage& picture, std::int64_t timeUs)
{
    if (finished_ || !writer_.isOpen()) return Step::Finished;
    const std::int64_t slot = slotOf(timeUs);
    if (firstUs_ >= 0 && slot <= lastSlot_) return Step::Skipped;
    if (slot >= limitSlots()) {
        finished_ = true;
        return Step::Finished;
    }
    if (!writer_.writeFrame(picture, slot)) return Step::Failed;
    if (firstUs_ < 0) {
        firstUs_ = timeUs;
        // The sound from the first picture on.
        if (soundStartUs_ >= 0 && !writeSound(std::exchange(soundBeforeFirst_, {})))
            return Step::Failed;
    }
    dropped_ += slot - lastSlot_ - 1;
    lastSlot_ = slot;
    return Step::Taken;
}

void SequenceCapture::soundStarted(std::int64_t timeUs)
{
    if (soundStartUs_ < 0) soundStartUs_ = timeUs;
}

bool SequenceCapture::addSound(const QByteArray& pcm)
{
    if (!setup_.audio || !writer_.isOpen() || closed_) return !writer_.failed();
    if (soundStartUs_ < 0) soundStartUs_ = startUs_;
    if (firstUs_ < 0) {
        soundBeforeFirst_ += pcm;
        const std::int64_t bytesPerSecond = setup_.audio->avgBytesPerSec;
        const std::int64_t most = kMaxHeldSoundUs * bytesPerSecond / 1000000;
        const std::int64_t block = setup_.audio->blockAlign;
        if (soundBeforeFirst_.size() > most) {
            const qsizetype cut = (soundBeforeFirst_.size() - most) / block * block;
            soundBeforeFirst_.remove(0, cut);
            soundStartUs_ += cut * 1000000 / bytesPerSecond;
        }
        return true;
    }
    return writeSound(pcm);
}

bool SequenceCapture::writeSound(QByteArray pcm)
{
    const WaveFormatEx& f = *setup_.audio;
    const std::int64_t block = f.blockAlign;
    if (!soundLinedUp_) {
        // Line the sound up with the first picture.
        soundLinedUp_ = true;
        const std::int64_t offset =
            (firstUs_ - soundStartUs_) * std::int64_t(f.samplesPerSec) / 1000000 * block;
        if (offset > 0) {
            pcm.remove(0, std::min<qsizetype>(pcm.size(), offset));
        } else if (offset < 0) {
            const char silence = f.bitsPerSample == 8 ? char(0x80) : char(0);
            pcm.prepend(QByteArray(-offset, silence));
        }
    }
    const std::int64_t most = soundSamplesWanted();
    if (most >= 0) {
        const std::int64_t room = std::max<std::int64_t>(0, most - soundSamples_) * block;
        if (pcm.size() > room) pcm.truncate(room);
    }
    if (pcm.isEmpty()) return true;
    const std::int64_t before = writer_.audioBytesWritten();
    if (!writer_.writeAudio(pcm)) return false;
    soundSamples_ += (writer_.audioBytesWritten() - before) / block;
    return true;
}

bool SequenceCapture::timeUp(std::int64_t nowUs) const
{
    if (!setup_.parameters.limitEnabled) return false;
    const std::int64_t from = firstUs_ >= 0 ? firstUs_ : startUs_;
    return nowUs - from >= std::int64_t(std::max(0, setup_.parameters.timeLimit)) * 1000000;
}

std::int64_t SequenceCapture::soundSamplesWanted() const
{
    if (!setup_.audio) return 0;
    const std::int64_t rate = setup_.audio->samplesPerSec;
    if (setup_.parameters.limitEnabled)
        return std::int64_t(std::max(0, setup_.parameters.timeLimit)) * rate;
    if (finished_) return (lastSlot_ + 1) * period_ * rate / 1000000;
    return -1;   // not known yet
}

bool SequenceCapture::finish()
{
    finished_ = true;
    closed_ = true;
    return writer_.close();
}

CaptureCounts SequenceCapture::counts() const
{
    CaptureCounts c;
    c.frames = writer_.framesWritten();
    c.dropped = dropped_;
    c.seconds = double(lastSlot_ + 1) * double(period_) / 1e6;
    c.withAudio = setup_.audio.has_value();
    c.audioBytes = writer_.audioBytesWritten();
    c.samplesPerSecond = setup_.audio ? setup_.audio->samplesPerSec : 0;
    return c;
}
