#include "platform/video/ClipInfo.h"

#include "support/TempDir.h"
#include "support/Tools.h"
#include "support/WavFixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// A 2-second, 25 fps, 320 x 240 test picture clip made by ffmpeg with the given video codec.
QString MakeClip(const TempDir& dir, const QString& name, const QStringList& codec)
{
    const QString path = dir.file(name);
    QStringList args{"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi",
                     "-i", "testsrc=size=320x240:rate=25", "-t", "2"};
    args << codec << path;
    const ToolResult r = RunTool("ffmpeg", args);
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    return path;
}

QStringList Mp4Codec()
{
    const bool x264 = RunTool("ffmpeg", {"-hide_banner", "-encoders"}).output.contains("libx264");
    return x264 ? QStringList{"-c:v", "libx264", "-pix_fmt", "yuv420p"} : QStringList{"-c:v", "mpeg4"};
}

} // namespace

TEST(ClipInfo, ReadsFrameRateSizeAndLengthOfVideoClips)
{
    if (!ToolAvailable("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    TempDir dir;
    const QString clips[] = {MakeClip(dir, "clip.mp4", Mp4Codec()),
                             MakeClip(dir, "clip.avi", {"-c:v", "mjpeg"})};
    for (const QString& path : clips) {
        SCOPED_TRACE(path.toStdString());
        const ClipInfo info = ClipInfo::Read(path);
        EXPECT_FALSE(info.isEmpty());
        EXPECT_TRUE(info.hasVideo());
        EXPECT_DOUBLE_EQ(info.frameRate, 25.0);
        EXPECT_EQ(info.width, 320);
        EXPECT_EQ(info.height, 240);
        EXPECT_NEAR(info.duration, 2.0, 0.05);
        EXPECT_FALSE(info.hasAudio);
    }
}

TEST(ClipInfo, SoundFileHasLengthButNoPicture)
{
    TempDir dir;
    const QString path = dir.file("tone.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(44100 * 2, 1, 440, 8000)));
    const ClipInfo info = ClipInfo::Read(path);
    EXPECT_FALSE(info.isEmpty());
    EXPECT_TRUE(info.hasAudio);
    EXPECT_FALSE(info.hasVideo());
    EXPECT_EQ(info.frameRate, 0);
    EXPECT_NEAR(info.duration, 2.0, 0.001);
}

TEST(ClipInfo, AnythingThatIsNotMediaGivesAnEmptyResult)
{
    TempDir dir;
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.file(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i) noise[i] = char((i * 7919 + 13) % 251);
    const QString paths[] = {
        write("notes.txt", "just some notes, not a clip\n"),
        write("notes.avi", "RIFF but not really an AVI file at all"),   // a media name lies
        write("noise.dat", noise),
        write("empty.wav", QByteArray()),
        dir.file("missing.mp4"),
        dir.path(),                                                      // a folder
        QString(),
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const ClipInfo info = ClipInfo::Read(path);
        EXPECT_TRUE(info.isEmpty());
        EXPECT_EQ(info.width, 0);
        EXPECT_EQ(info.frameRate, 0);
        EXPECT_EQ(info.duration, 0);
    }
}
