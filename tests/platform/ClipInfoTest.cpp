#include "platform/video/ClipInfo.h"

#include "platform/video/ClipReader.h"
#include "platform/video/FfmpegLibraries.h"

#include "support/TempDir.h"
#include "support/Tools.h"
#include "support/WavFixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cstdlib>

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

// WAV files are described from their own header, and the media reader agrees with what is said.
TEST(ClipInfo, SoundFilesHaveTheMediaReadersLengthButNoPicture)
{
    TempDir dir;
    const QString tone = dir.file("tone.wav");
    ASSERT_TRUE(WriteWav(tone, WavShape{}, Sine(44100 * 2, 1, 440, 8000)));
    WavShape tagged;   // a broadcast chunk before the data, a data size beyond the file's end
    tagged.channels = 2;
    tagged.chunksBeforeData = QByteArray("bext") + QByteArray("\x04\0\0\0abcd", 8);
    tagged.dataSizeField = 10'000'000;
    const QString cut = dir.file("cut.wav");
    ASSERT_TRUE(WriteWav(cut, tagged, Sine(11025, 2, 440, 8000)));
    QStringList paths{tone, cut};
    if (ToolAvailable("sox")) {   // 8-bit, float and 24-bit (extensible) files as sox writes them
        for (const QStringList& format : {QStringList{"-b", "8", "-c", "1"}, QStringList{"-e", "float", "-b", "32"},
                                          QStringList{"-b", "24", "-c", "2"}}) {
            const QString path = dir.file(QString("sox%1.wav").arg(paths.size()));
            EXPECT_EQ(RunTool("sox", QStringList{"-n", "-r", "22050"} + format + QStringList{path, "synth", "1.5", "sine", "440"})
                          .exitCode, 0);
            paths << path;
        }
    }
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const ClipInfo info = ClipInfo::Read(path);
        EXPECT_TRUE(info.hasAudio);
        EXPECT_FALSE(info.hasVideo());
        EXPECT_EQ(info.frameRate, 0);
        const std::unique_ptr<ClipReader> reader = ClipReader::Open(path);
        ASSERT_TRUE(reader);
        EXPECT_NEAR(info.duration, reader->info().duration, 0.001);
    }
    EXPECT_NEAR(ClipInfo::Read(tone).duration, 2.0, 0.001);
    EXPECT_NEAR(ClipInfo::Read(cut).duration, 0.25, 0.001);   // what the file holds, not what it promises
}

// Showing a sound must not load the media libraries (they take longer to load than the whole
// program takes to start); checked in a fresh process, as other tests here load them.
TEST(ClipInfo, ReadingAWaveFileLoadsNoMediaLibrary)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    const QString tone = dir.file("tone.wav");
    ASSERT_TRUE(WriteWav(tone, WavShape{}, Sine(4410, 1, 440, 8000)));
    EXPECT_EXIT(
        {
            const bool read = ClipInfo::Read(tone).hasAudio;
            std::exit(read && !kLibAvFormat.Loaded() && !kLibAvCodec.Loaded() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
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
