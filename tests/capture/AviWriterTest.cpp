#include "platform/video/AviWriter.h"

#include "CaptureProbe.h"
#include "support/TempDir.h"
#include "support/Tools.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <cmath>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A picture that tells its number: a grey level of 8 × n on the left half, with a red top row
// band and a blue bottom band, so that order and orientation can be read back.
QImage Picture(int n, QSize size = {320, 240})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0, 160, 0));
    QPainter p(&image);
    p.fillRect(0, 0, size.width() / 2, size.height(), QColor(8 * n % 256, 8 * n % 256, 8 * n % 256));
    p.fillRect(0, 0, size.width(), size.height() / 8, Qt::red);
    p.fillRect(0, size.height() - size.height() / 8, size.width(), size.height() / 8, Qt::blue);
    return image;
}

QByteArray Tone(double frequency, int rate, int frames)
{
    QByteArray pcm(frames * 2, '\0');
    auto* s = reinterpret_cast<qint16*>(pcm.data());
    for (int i = 0; i < frames; ++i) s[i] = qint16(10000 * std::sin(2 * M_PI * frequency * i / rate));
    return pcm;
}

AviVideoFormat Shape(VideoCoding coding, std::int64_t us = 66667)
{
    AviVideoFormat shape;
    shape.size = {320, 240};
    shape.microsecondsPerFrame = us;
    shape.coding = coding;
    return shape;
}

bool Near(QRgb a, QColor b, int tolerance = 24)
{
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

class AviWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ToolAvailable("ffprobe") || !ToolAvailable("ffmpeg")) GTEST_SKIP() << "no ffmpeg";
    }
    TempDir dir;
};

} // namespace

TEST_F(AviWriterTest, MjpegVideoWithPcmSoundReadsBackAtItsRate)
{
    const QString path = dir.file("clip.avi");
    AviWriter writer;
    ASSERT_TRUE(writer.open(path, Shape(VideoCoding::Mjpeg), WaveFormatEx::Pcm16(22050, 1)));
    for (int n = 0; n < 30; ++n) {
        ASSERT_TRUE(writer.writeFrame(Picture(n), n));
        ASSERT_TRUE(writer.writeAudio(Tone(440, 22050, 1470)));
    }
    EXPECT_TRUE(writer.close());
    EXPECT_EQ(writer.framesWritten(), 30);
    EXPECT_EQ(writer.audioBytesWritten(), 30 * 1470 * 2);

    const auto v = ProbeStream(path, "v:0");
    EXPECT_EQ(v.value("codec_name"), "mjpeg");
    EXPECT_EQ(v.value("width"), "320");
    EXPECT_EQ(v.value("nb_read_frames"), "30");
    EXPECT_EQ(v.value("r_frame_rate"), "1000000/66667");
    const auto a = ProbeStream(path, "a:0");
    EXPECT_EQ(a.value("codec_name"), "pcm_s16le");
    EXPECT_EQ(a.value("sample_rate"), "22050");
    EXPECT_EQ(a.value("channels"), "1");

    // Pictures keep their order and their top stays on top.
    const QImage fifth = DecodedPicture(path, 5);
    ASSERT_FALSE(fifth.isNull());
    EXPECT_TRUE(Near(fifth.pixel(40, 120), QColor(40, 40, 40))) << std::hex << fifth.pixel(40, 120);
    EXPECT_TRUE(Near(fifth.pixel(160, 5), Qt::red));
    EXPECT_TRUE(Near(fifth.pixel(160, 235), Qt::blue));
    // JPEG pictures are full range: flat areas come back within a few levels (limited-range
    // planes would bring the grey back 10 levels too light).
    EXPECT_TRUE(Near(fifth.pixel(40, 120), QColor(40, 40, 40), 3)) << std::hex << fifth.pixel(40, 120);
    EXPECT_TRUE(Near(fifth.pixel(300, 120), QColor(0, 160, 0), 4)) << std::hex << fifth.pixel(300, 120);
}

TEST_F(AviWriterTest, UncompressedAndPalettisedPicturesKeepTheirColoursAndOrientation)
{
    const QVector<QRgb> palette{qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 160, 0), qRgb(0, 0, 0),
                                qRgb(40, 40, 40), qRgb(255, 255, 255)};
    for (VideoCoding coding : {VideoCoding::Uncompressed, VideoCoding::Palettised}) {
        SCOPED_TRACE(int(coding));
        const QString path = dir.file(QString("raw%1.avi").arg(int(coding)));
        AviVideoFormat shape = Shape(coding, 100000);
        shape.palette = palette;
        AviWriter writer;
        ASSERT_TRUE(writer.open(path, shape));
        for (int n = 0; n < 6; ++n) ASSERT_TRUE(writer.writeFrame(Picture(n), n));
        ASSERT_TRUE(writer.close());
        const auto v = ProbeStream(path, "v:0");
        EXPECT_EQ(v.value("codec_name"), "rawvideo");
        EXPECT_EQ(v.value("pix_fmt"), coding == VideoCoding::Palettised ? "pal8" : "bgr24");
        EXPECT_EQ(v.value("nb_read_frames"), "6");
        const QImage fifth = DecodedPicture(path, 5);
        ASSERT_FALSE(fifth.isNull());
        EXPECT_TRUE(Near(fifth.pixel(40, 120), QColor(40, 40, 40), 2)) << std::hex << fifth.pixel(40, 120);
        EXPECT_TRUE(Near(fifth.pixel(160, 5), Qt::red, 2));
        EXPECT_TRUE(Near(fifth.pixel(160, 235), Qt::blue, 2));
        EXPECT_TRUE(Near(fifth.pixel(300, 120), QColor(0, 160, 0), 2));
    }
}

TEST_F(AviWriterTest, SkippedFrameNumbersKeepTheClipsLength)
{
    const QString path = dir.file("gaps.avi");
    AviWriter writer;
    ASSERT_TRUE(writer.open(path, Shape(VideoCoding::Mjpeg, 100000)));
    for (int n : {0, 1, 2, 6, 7, 9}) ASSERT_TRUE(writer.writeFrame(Picture(n), n));
    EXPECT_FALSE(writer.writeFrame(Picture(9), 9)) << "a number already written is refused";
    EXPECT_FALSE(writer.failed());
    ASSERT_TRUE(writer.close());
    EXPECT_EQ(writer.framesWritten(), 6);
    const auto v = ProbeStream(path, "v:0");
    EXPECT_NEAR(v.value("duration").toDouble(), 1.0, 0.01);
    // Frame 6 is shown at 0.6 s, not at 0.3 s.
    const QImage at = DecodedPictureAt(path, 0.6);
    EXPECT_TRUE(Near(at.pixel(40, 120), QColor(48, 48, 48))) << std::hex << at.pixel(40, 120);
}

TEST_F(AviWriterTest, ReservedSpaceIsKeptAndTheClipStillReads)
{
    const QString path = dir.file("reserved.avi");
    ASSERT_TRUE(AviWriter::ReserveSpace(path, 4 << 20));
    EXPECT_EQ(QFileInfo(path).size(), 4 << 20);
    AviWriter writer;
    ASSERT_TRUE(writer.open(path, Shape(VideoCoding::Mjpeg)));
    for (int n = 0; n < 10; ++n) ASSERT_TRUE(writer.writeFrame(Picture(n), n));
    ASSERT_TRUE(writer.close());
    EXPECT_EQ(QFileInfo(path).size(), 4 << 20);
    EXPECT_EQ(ProbeStream(path, "v:0").value("nb_read_frames"), "10");
}

// A writer killed while it writes (a crash, a power cut) leaves a file without its index and
// final headers; every frame written before still decodes, also in reserved space.
TEST_F(AviWriterTest, FramesWrittenBeforeAKillStillDecode)
{
    for (bool reserved : {false, true}) {
        SCOPED_TRACE(reserved);
        const QString path = dir.file(QString("killed%1.avi").arg(reserved));
        if (reserved) {
            ASSERT_TRUE(AviWriter::ReserveSpace(path, 8 << 20));
        }
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            AviWriter writer;
            if (!writer.open(path, Shape(VideoCoding::Mjpeg), WaveFormatEx::Pcm16(22050, 1))) _exit(2);
            for (int n = 0; n < 12; ++n) {
                writer.writeFrame(Picture(n), n);
                writer.writeAudio(Tone(440, 22050, 1470));
            }
            raise(SIGKILL);
            _exit(3);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        EXPECT_EQ(DecodedFrames(path), 12);
    }
}

TEST_F(AviWriterTest, FullDiskFailsWithItsErrorNumber)
{
    AviWriter writer;
    EXPECT_FALSE(writer.open("/dev/full", Shape(VideoCoding::Mjpeg)));
    EXPECT_EQ(writer.errorNumber(), ENOSPC);
    EXPECT_FALSE(writer.isOpen());

    AviWriter nowhere;
    EXPECT_FALSE(nowhere.open(dir.file("no/such/folder/x.avi"), Shape(VideoCoding::Mjpeg)));
    EXPECT_EQ(nowhere.errorNumber(), ENOENT);
}

// The file stops growing in the middle of a capture (a disk that fills up): the write fails
// with the system's reason and what was written before it still decodes.
TEST_F(AviWriterTest, WriteFailureMidwayKeepsTheFramesBefore)
{
    const QString path = dir.file("limited.avi");
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = before;
    limited.rlim_cur = 600 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    AviWriter writer;
    const bool opened = writer.open(path, Shape(VideoCoding::Uncompressed));
    int written = 0;
    while (opened && written < 20 && writer.writeFrame(Picture(written), written)) ++written;
    writer.close();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);

    ASSERT_TRUE(opened);
    EXPECT_TRUE(writer.failed());
    EXPECT_EQ(writer.errorNumber(), EFBIG);
    EXPECT_EQ(written, 600 * 1024 / (320 * 240 * 3));
    EXPECT_EQ(DecodedFrames(path), written);
}
