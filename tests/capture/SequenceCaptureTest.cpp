#include "capture/device/SequenceCapture.h"

#include "CaptureProbe.h"
#include "support/TempDir.h"
#include "support/Tools.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {
QImage Plain(int level)
{
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(QColor(level, level, level));
    return image;
}

SequenceCapture::Setup CaptureSetup(std::int32_t period, int limitSeconds, int indexSize = 27000,
                             bool audio = false)
{
    SequenceCapture::Setup s;
    s.parameters.requestMicroSecPerFrame = period;
    s.parameters.limitEnabled = limitSeconds > 0;
    s.parameters.timeLimit = limitSeconds;
    s.parameters.indexSize = indexSize;
    s.parameters.captureAudio = audio;
    s.video.size = {160, 120};
    s.video.coding = VideoCoding::Mjpeg;
    s.audio = WaveFormatEx::Pcm16(8000, 1);
    return s;
}

// A ramp of 16-bit samples numbered from `first`, so the decoded sound tells where it started.
QByteArray Ramp(int first, int count)
{
    QByteArray pcm(count * 2, '\0');
    for (int i = 0; i < count; ++i) qToLittleEndian<qint16>(qint16((first + i) % 30000), pcm.data() + 2 * i);
    return pcm;
}

qint16 SampleAt(const QByteArray& pcm, int i)
{
    return qFromLittleEndian<qint16>(pcm.constData() + 2 * i);
}

class SequenceCaptureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ToolAvailable("ffprobe")) GTEST_SKIP() << "no ffprobe";
    }
    TempDir dir;
};
} // namespace

// A camera at 30 frames a second for a 2-second capture at 15: every other picture is taken,
// 30 frames, none dropped; the picture after the limit ends the capture.
TEST_F(SequenceCaptureTest, FasterCameraFillsEachPeriodOnce)
{
    SequenceCapture capture;
    const QString path = dir.file("fast.avi");
    ASSERT_TRUE(capture.start(path, CaptureSetup(66667, 2), 1'000'000));
    int taken = 0, skipped = 0;
    SequenceCapture::Step last = SequenceCapture::Step::Taken;
    for (int i = 0; i < 90 && last != SequenceCapture::Step::Finished; ++i) {
        const std::int64_t t = 1'050'000 + i * 33'333;
        EXPECT_EQ(capture.timeUp(t), i * 33'333 >= 2'000'000) << i;
        const bool wanted = capture.wouldTake(t);
        last = capture.addFrame(Plain(i), t);
        EXPECT_EQ(wanted, last != SequenceCapture::Step::Skipped) << i;
        taken += last == SequenceCapture::Step::Taken;
        skipped += last == SequenceCapture::Step::Skipped;
    }
    EXPECT_EQ(last, SequenceCapture::Step::Finished);
    EXPECT_EQ(taken, 30);
    EXPECT_EQ(skipped, 30);
    ASSERT_TRUE(capture.finish());
    const CaptureCounts counts = capture.counts();
    EXPECT_EQ(counts.frames, 30);
    EXPECT_EQ(counts.dropped, 0);
    EXPECT_NEAR(counts.seconds, 2.0, 1e-3);
    EXPECT_EQ(ProbeStream(path, "v:0").value("nb_read_frames"), "30");
}

// A camera at 10 frames a second for a capture at 15: a third of the periods get no picture;
// the clip still lasts as long as the capture did.
TEST_F(SequenceCaptureTest, SlowerCameraDropsFramesButKeepsThePace)
{
    SequenceCapture capture;
    const QString path = dir.file("slow.avi");
    ASSERT_TRUE(capture.start(path, CaptureSetup(66667, 0), 0));
    for (int i = 0; i < 20; ++i) ASSERT_EQ(capture.addFrame(Plain(i * 10), i * 100'000), SequenceCapture::Step::Taken);
    ASSERT_TRUE(capture.finish());
    const CaptureCounts counts = capture.counts();
    EXPECT_EQ(counts.frames, 20);
    EXPECT_EQ(counts.dropped, 9);
    EXPECT_NEAR(counts.seconds, 29 * 0.066667, 1e-3);
    EXPECT_NEAR(ProbeStream(path, "v:0").value("duration").toDouble(), 29 * 0.066667, 0.01);
}

// A camera at the capture's own rate whose pictures come unevenly (in order, but up to half a
// period early or two thirds of a period late) fills every period once.
TEST_F(SequenceCaptureTest, UnevenTimingDropsNothing)
{
    SequenceCapture capture;
    ASSERT_TRUE(capture.start(dir.file("uneven.avi"), CaptureSetup(100000, 0), 0));
    const int jitter[] = {0, 60, -30, 65, 0, -40, 20, -45, 55, 10};
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(capture.addFrame(Plain(i * 20), i * 100'000 + jitter[i] * 1000), SequenceCapture::Step::Taken) << i;
    capture.finish();
    EXPECT_EQ(capture.counts().frames, 10);
    EXPECT_EQ(capture.counts().dropped, 0);
}

TEST_F(SequenceCaptureTest, IndexSizeEndsTheCapture)
{
    SequenceCapture capture;
    ASSERT_TRUE(capture.start(dir.file("index.avi"), CaptureSetup(100000, 0, 5), 0));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(capture.addFrame(Plain(i), i * 100'000), SequenceCapture::Step::Taken);
    EXPECT_EQ(capture.addFrame(Plain(5), 500'000), SequenceCapture::Step::Finished);
    EXPECT_EQ(capture.addFrame(Plain(6), 600'000), SequenceCapture::Step::Finished);
    EXPECT_FALSE(capture.timeUp(1e12)) << "no time limit";
    capture.finish();
    EXPECT_EQ(capture.counts().frames, 5);
}

// The sound recorder starts before the camera's first picture: the sound before it is cut off,
// so the first sample of the file is the one recorded with the first picture. With a time limit
// the sound is as long as the limit.
TEST_F(SequenceCaptureTest, SoundStartsWithTheFirstPictureAndEndsWithTheLimit)
{
    SequenceCapture capture;
    const QString path = dir.file("sound.avi");
    ASSERT_TRUE(capture.start(path, CaptureSetup(100000, 1, 27000, true), 0));
    capture.soundStarted(0);
    ASSERT_TRUE(capture.addSound(Ramp(0, 2000)));          // 0.25 s before the first picture
    for (int i = 0; i < 12; ++i) {
        capture.addFrame(Plain(i), 250'000 + i * 100'000);
        ASSERT_TRUE(capture.addSound(Ramp(2000 + 800 * i, 800)));
    }
    ASSERT_TRUE(capture.finish());
    EXPECT_EQ(capture.counts().frames, 10);
    EXPECT_EQ(capture.counts().audioBytes, 8000 * 2);
    const QByteArray sound = DecodedSound(path);
    ASSERT_EQ(sound.size(), 8000 * 2);
    EXPECT_EQ(SampleAt(sound, 0), 2000);
    EXPECT_EQ(SampleAt(sound, 7999), 9999);
}

// Sound that starts after the first picture gets silence in front.
TEST_F(SequenceCaptureTest, LateSoundIsPaddedWithSilence)
{
    SequenceCapture capture;
    const QString path = dir.file("late.avi");
    ASSERT_TRUE(capture.start(path, CaptureSetup(100000, 0, 27000, true), 0));
    capture.addFrame(Plain(0), 0);
    capture.soundStarted(500'000);
    ASSERT_TRUE(capture.addSound(Ramp(100, 800)));
    capture.addFrame(Plain(1), 1'000'000);
    ASSERT_TRUE(capture.finish());
    const QByteArray sound = DecodedSound(path);
    ASSERT_EQ(sound.size(), (4000 + 800) * 2);
    EXPECT_EQ(SampleAt(sound, 3999), 0);
    EXPECT_EQ(SampleAt(sound, 4000), 100);
}

// Without a time limit the sound ends with the pictures, also when more of it arrives.
TEST_F(SequenceCaptureTest, WithoutALimitTheSoundEndsWithThePictures)
{
    SequenceCapture capture;
    ASSERT_TRUE(capture.start(dir.file("nolimit.avi"), CaptureSetup(100000, 0, 27000, true), 0));
    capture.soundStarted(0);
    for (int i = 0; i < 10; ++i) capture.addFrame(Plain(i), i * 100'000);
    EXPECT_EQ(capture.soundSamplesWanted(), -1) << "not known while pictures come";
    capture.stopPictures();
    EXPECT_EQ(capture.addFrame(Plain(10), 1'000'000), SequenceCapture::Step::Finished);
    EXPECT_EQ(capture.soundSamplesWanted(), 8000);
    ASSERT_TRUE(capture.addSound(Ramp(0, 12000)));
    EXPECT_EQ(capture.soundSamples(), 8000);
    ASSERT_TRUE(capture.finish());
    EXPECT_EQ(capture.counts().audioBytes, 16000);
}
