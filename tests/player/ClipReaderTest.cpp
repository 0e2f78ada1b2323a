// Decoding real clips made by ffmpeg, each frame carrying its number: the reader gives every frame
// at its own time, and stepping through it lands on the frame it names whatever the codec.
#include "platform/video/ClipReader.h"
#include "player/BarcodeClip.h"
#include "player/FrameStepper.h"

#include "support/TempDir.h"
#include "support/Tools.h"
#include "support/WavFixture.h"

#include <QColor>
#include <QFile>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

struct Clip {
    const char* name;
    int rate;
    QString path;
};

class ClipReaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<TempDir>();
        if (!ToolAvailable("ffmpeg")) return;
        clips_ = {{"mjpeg25.avi", 25, MakeBarcodeClip(dir_->file("mjpeg25.avi"), 25, 4, MjpegEncoder())},
                  {"h264_30.mp4", 30, MakeBarcodeClip(dir_->file("h264_30.mp4"), 30, 5, H264Encoder(30, 2))},
                  {"mpeg4_25.avi", 25, MakeBarcodeClip(dir_->file("mpeg4_25.avi"), 25, 4, Mpeg4Encoder(25, 2))}};
    }
    static void TearDownTestSuite() { dir_.reset(); }

    void SetUp() override
    {
        if (clips_.empty()) GTEST_SKIP() << "ffmpeg is not installed";
        for (const Clip& c : clips_) ASSERT_FALSE(c.path.isEmpty()) << c.name << ": ffmpeg failed";
    }

    static inline std::unique_ptr<TempDir> dir_;
    static inline std::vector<Clip> clips_;
};

} // namespace

TEST_F(ClipReaderTest, EveryFrameComesAtItsOwnTimeInOrder)
{
    for (const Clip& clip : clips_) {
        SCOPED_TRACE(clip.name);
        auto reader = ClipReader::OpenVideo(clip.path);
        ASSERT_TRUE(reader);
        EXPECT_EQ(reader->pictureSize(), QSize(320, 240));
        EXPECT_DOUBLE_EQ(reader->frameRate(), clip.rate);
        int count = 0;
        while (std::optional<DecodedFrame> frame = reader->read()) {
            ASSERT_EQ(ReadBarcode(frame->picture), count);
            ASSERT_NEAR(frame->time, double(count) / clip.rate, 1e-6) << "frame " << count;
            ++count;
        }
        EXPECT_GE(count, clip.rate * 4);

        // A seek goes to a key frame at or before the time; reading on reaches the frame.
        ASSERT_TRUE(reader->seek(2.5));
        std::optional<DecodedFrame> frame = reader->read();
        ASSERT_TRUE(frame);
        EXPECT_LE(frame->time, 2.5);
        while (frame && frame->time < 2.5 - 1e-6) frame = reader->read();
        ASSERT_TRUE(frame);
        EXPECT_EQ(ReadBarcode(frame->picture), int(2.5 * clip.rate + 0.5));
    }
}

TEST_F(ClipReaderTest, FramesKeptAsDecodedOutliveTheirReader)
{
    // The frames' planes live in the decoder's buffers, whose memory must stay until the last
    // frame using it is gone, after the reader and its decoder.
    for (const Clip& clip : clips_) {
        SCOPED_TRACE(clip.name);
        std::vector<ReadFrame> kept;
        {
            auto reader = ClipReader::OpenVideo(clip.path);
            ASSERT_TRUE(reader);
            while (kept.size() < 40)
                if (std::optional<ReadFrame> frame = reader->next()) kept.push_back(std::move(*frame));
                else break;
        }
        ASSERT_EQ(kept.size(), 40u);
        for (std::size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(ReadBarcode(kept[i].picture.image()), int(i));
    }
}

TEST_F(ClipReaderTest, StepsFromTwoSecondsLandOnTheFramesTheyName)
{
    for (const Clip& clip : clips_) {
        SCOPED_TRACE(clip.name);
        FrameStepper stepper(ClipReader::OpenVideo(clip.path));
        const int at = 2 * clip.rate;
        EXPECT_EQ(ReadBarcode(stepper.FrameAt(2.0)->picture), at);
        const std::optional<DecodedFrame> next = stepper.Step(2.0, +1);
        ASSERT_TRUE(next);
        EXPECT_EQ(ReadBarcode(next->picture), at + 1);
        EXPECT_NEAR(next->time, double(at + 1) / clip.rate, 1e-6);
        const std::optional<DecodedFrame> back = stepper.Step(2.0, -1);
        ASSERT_TRUE(back);
        EXPECT_EQ(ReadBarcode(back->picture), at - 1);
        // Ten steps on and ten back, across the key frame at 2 s, from positions in whole ms.
        double position = std::round(back->time * 1000) / 1000;
        for (int i = 0; i < 10; ++i) position = std::round(stepper.Step(position, +1)->time * 1000) / 1000;
        EXPECT_EQ(ReadBarcode(stepper.FrameAt(position)->picture), at + 9);
        for (int i = 0; i < 10; ++i) position = std::round(stepper.Step(position, -1)->time * 1000) / 1000;
        EXPECT_EQ(ReadBarcode(stepper.FrameAt(position)->picture), at - 1);
    }
}

TEST_F(ClipReaderTest, StepsBackAndForthAcrossKeyFramesShowTheFramesOfASequentialDecode)
{
    for (const Clip& clip : clips_) {
        SCOPED_TRACE(clip.name);
        std::vector<DecodedFrame> sequence;
        {
            auto reader = ClipReader::OpenVideo(clip.path);
            ASSERT_TRUE(reader);
            while (std::optional<DecodedFrame> frame = reader->read()) sequence.push_back(std::move(*frame));
        }
        ASSERT_GT(int(sequence.size()), 3 * clip.rate);
        FrameStepper stepper(ClipReader::OpenVideo(clip.path));
        // From the key frame at 2 s, not decoded yet, as the player reports it: eight steps back,
        // sixteen on and sixteen back, across the key frame each time.
        int index = 2 * clip.rate;
        double position = 2.0;
        auto step = [&](int direction) {
            const std::optional<DecodedFrame> frame = stepper.Step(position, direction);
            ASSERT_TRUE(frame);
            index += direction;
            ASSERT_NEAR(frame->time, sequence[size_t(index)].time, 1e-9) << "frame " << index;
            ASSERT_TRUE(frame->picture == sequence[size_t(index)].picture) << "frame " << index;
            position = std::round(frame->time * 1000) / 1000;
        };
        for (int i = 0; i < 8; ++i) ASSERT_NO_FATAL_FAILURE(step(-1));
        for (int i = 0; i < 16; ++i) ASSERT_NO_FATAL_FAILURE(step(+1));
        for (int i = 0; i < 16; ++i) ASSERT_NO_FATAL_FAILURE(step(-1));
    }
}

TEST(ClipReader, ColoursFollowTheMatrixTheClipNamesOrThePlaybackEnginesGuess)
{
    // Pure red turned into YUV with one matrix and read back with another comes out orange or
    // pink. Clips that name no matrix are taken as the playback engine takes them: BT.601 up to
    // 576 lines, BT.709 above.
    if (!ToolAvailable("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    TempDir dir;
    struct Case {
        const char* name;
        const char* size;
        const char* matrix;
        bool named;
    };
    for (const Case& c : {Case{"sd709.mp4", "640x360", "bt709", true}, Case{"hd.mp4", "1280x720", "bt709", false},
                          Case{"sd.mp4", "640x360", "smpte170m", false}}) {
        SCOPED_TRACE(c.name);
        QStringList args{"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                         QString("color=c=red:s=%1:d=0.2").arg(c.size), "-vf",
                         QString("format=rgb24,scale=out_color_matrix=%1:out_range=tv,format=yuv420p").arg(c.matrix),
                         "-c:v", "libx264"};
        if (c.named) args << "-colorspace" << c.matrix << "-color_primaries" << c.matrix << "-color_trc" << c.matrix;
        args << dir.file(c.name);
        ASSERT_EQ(RunTool("ffmpeg", args).exitCode, 0);
        auto reader = ClipReader::OpenVideo(dir.file(c.name));
        ASSERT_TRUE(reader);
        const std::optional<DecodedFrame> frame = reader->read();
        ASSERT_TRUE(frame);
        const QColor centre = frame->picture.pixelColor(frame->picture.rect().center());
        EXPECT_GE(centre.red(), 248);
        EXPECT_LE(centre.green(), 6);
        EXPECT_LE(centre.blue(), 6);
    }
}

TEST(ClipReader, FilesWithoutAPictureOpenNothing)
{
    TempDir dir;
    const QString wav = dir.file("tone.wav");
    ASSERT_TRUE(WriteWav(wav, WavShape{}, Sine(4410, 1, 440, 8000)));
    EXPECT_FALSE(ClipReader::OpenVideo(wav));
    EXPECT_FALSE(ClipReader::OpenVideo(dir.file("missing.avi")));
    EXPECT_FALSE(ClipReader::OpenVideo(QString()));
    const QString text = dir.file("notes.avi");
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("RIFF but not really a clip at all");
    f.close();
    EXPECT_FALSE(ClipReader::OpenVideo(text));
}
