// Damaged clips (truncated, bits flipped, header fields zeroed or filled) through the clip probe
// and the frame reader: each gives a result or nothing, in bounded time, and never takes the
// program down.
#include "platform/video/ClipInfo.h"
#include "platform/video/ClipReader.h"

#include "support/Damage.h"
#include "support/TempDir.h"
#include "support/Tools.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// Ten frames of ffmpeg's test picture at 25 frames a second, 64 x 48, in the given container
// and codec.
QByteArray MakeClip(const TempDir& dir, const QString& name, const QStringList& codec)
{
    const QString path = dir.file(name);
    QStringList args{"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi",
                     "-i", "testsrc=size=64x48:rate=25", "-frames:v", "10"};
    args << codec << path;
    const ToolResult r = RunTool("ffmpeg", args);
    if (r.exitCode != 0) return {};
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(DamagedClips, EachIsProbedAndDecodedOrRefusedInBoundedTime)
{
    if (!ToolAvailable("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    TempDir dir;
    struct Kind {
        const char* name;
        QStringList codec;
    };
    const bool x264 = RunTool("ffmpeg", {"-hide_banner", "-encoders"}).output.contains("libx264");
    const Kind kinds[] = {
        {"mjpeg.avi", {"-c:v", "mjpeg"}},
        {"mpeg4.avi", {"-c:v", "mpeg4", "-bf", "2", "-g", "5"}},
        {"clip.mp4", x264 ? QStringList{"-c:v", "libx264", "-pix_fmt", "yuv420p", "-g", "5"}
                          : QStringList{"-c:v", "mpeg4", "-g", "5"}},
        {"mpeg1.mpg", {"-c:v", "mpeg1video", "-g", "5"}},
    };
    constexpr int CopiesOfEach = 30;
    std::mt19937 random(20261208);
    int probed = 0, opened = 0, frames = 0;
    for (const Kind& kind : kinds) {
        const QByteArray original = MakeClip(dir, QString("original-") + kind.name, kind.codec);
        ASSERT_FALSE(original.isEmpty()) << kind.name << ": ffmpeg failed";
        for (int i = 0; i < CopiesOfEach; ++i) {
            const QString path = dir.file(QString("damaged%1-%2").arg(i).arg(kind.name));
            {
                QFile f(path);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(Damaged(original, i, random));
            }
            SCOPED_TRACE(path.toStdString());

            const ClipInfo info = ClipInfo::Read(path);
            EXPECT_TRUE(std::isfinite(info.frameRate) && info.frameRate >= 0) << info.frameRate;
            EXPECT_TRUE(std::isfinite(info.duration) && info.duration >= 0) << info.duration;
            EXPECT_GE(info.width, 0);
            EXPECT_GE(info.height, 0);
            if (!info.isEmpty()) ++probed;

            const std::unique_ptr<ClipReader> reader = ClipReader::OpenVideo(path);
            if (!reader) continue;
            ++opened;
            EXPECT_TRUE(std::isfinite(reader->frameRate()) && reader->frameRate() >= 0);
            // The clip holds ten frames; damage may lose some or make the decoder repeat a few,
            // never read on without end.
            int read = 0;
            while (const std::optional<DecodedFrame> frame = reader->read()) {
                EXPECT_FALSE(frame->picture.isNull());
                EXPECT_TRUE(std::isfinite(frame->time));
                if (++read > 100) break;
            }
            EXPECT_LE(read, 100) << "the reader did not come to the end of the clip";
            frames += read;
            if (reader->seek(0.5)) {
                for (int k = 0; k < 5 && reader->read(); ++k) {
                }
            }
        }
    }
    // The damage leaves most clips readable in part: the test reaches the decoders.
    EXPECT_GT(opened, 4 * CopiesOfEach / 3);
    EXPECT_GT(frames, opened);
    std::printf("%d damaged clips: %d probed, %d opened, %d frames decoded\n", 4 * CopiesOfEach,
                probed, opened, frames);
}
