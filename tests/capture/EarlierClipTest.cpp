// What decides that a new capture would replace a clip: the frames the capture file holds, read
// back from files made by the capture file's writer, by ffmpeg, and from a capture cut short.
#include "capture/EarlierClip.h"

#include "platform/video/AviWriter.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "text/LoadText.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using capture::ClipToReplace;

namespace {

AviVideoFormat TenFps()
{
    AviVideoFormat shape;
    shape.size = {160, 120};
    shape.microsecondsPerFrame = 100000;
    return shape;
}

QImage Grey(int n)
{
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(qRgb(10 * n, 10 * n, 10 * n));
    return image;
}

} // namespace

// Nothing to lose: no question. A file of reserved space, a clip started and closed before its
// first frame, and a file that is no video hold no frames.
TEST(EarlierClip, FilesWithoutFramesHoldNoClip)
{
    TempDir dir;
    EXPECT_FALSE(ClipToReplace(dir.file("missing.avi"), false));
    EXPECT_FALSE(ClipToReplace(QString(), false));
    EXPECT_FALSE(ClipToReplace(dir.path(), false)) << "a folder";

    const QString reserved = dir.file("reserved.avi");
    ASSERT_TRUE(AviWriter::ReserveSpace(reserved, 2 << 20));
    EXPECT_FALSE(ClipToReplace(reserved, false));

    const QString empty = dir.file("empty.avi");
    {
        AviWriter writer;
        ASSERT_TRUE(writer.open(empty, TenFps()));
        ASSERT_TRUE(writer.close());
    }
    EXPECT_FALSE(ClipToReplace(empty, false));

    QFile text(dir.file("notes.avi"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("RIFF but not really a clip at all");
    text.close();
    EXPECT_FALSE(ClipToReplace(text.fileName(), false));
}

// A finished clip written over reserved space: its frames and playing time, not the reserved
// length. Frames that go on after those of an open capture replace nothing.
TEST(EarlierClip, FinishedClipIsCountedAndAppendingReplacesNothing)
{
    TempDir dir;
    const QString path = dir.file("capture.avi");
    ASSERT_TRUE(AviWriter::ReserveSpace(path, 4 << 20));
    AviWriter writer;
    ASSERT_TRUE(writer.open(path, TenFps()));
    for (int n = 0; n < 12; ++n) ASSERT_TRUE(writer.writeFrame(Grey(n), n));
    ASSERT_TRUE(writer.close());

    const auto clip = ClipToReplace(path, false);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->frames, 12);
    EXPECT_NEAR(clip->seconds, 1.2, 0.01);
    EXPECT_FALSE(ClipToReplace(path, true));

    const QString question = capture::ReplaceClipQuestion(path, *clip);
    EXPECT_TRUE(question.startsWith("The capture file " + QDir::toNativeSeparators(path) +
                                    " already holds a captured clip of 12 frames (1.2 s)"))
        << question.toStdString();
}

// A capture cut short (its headers never finished: the copy is taken while the writer is still
// open) still holds its frames.
TEST(EarlierClip, CaptureCutShortStillHoldsItsFrames)
{
    TempDir dir;
    const QString path = dir.file("capture.avi");
    AviWriter writer;
    ASSERT_TRUE(writer.open(path, TenFps()));
    for (int n = 0; n < 5; ++n) ASSERT_TRUE(writer.writeFrame(Grey(n), n));
    const QString cut = dir.file("cut.avi");
    ASSERT_TRUE(QFile::copy(path, cut));
    ASSERT_TRUE(writer.close());

    const auto clip = ClipToReplace(cut, false);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->frames, 5);
}

// A clip made by ffmpeg, as a teacher may have copied into the capture file's place.
TEST(EarlierClip, ClipMadeByFfmpegIsCounted)
{
    if (!ToolAvailable("ffmpeg")) GTEST_SKIP() << "no ffmpeg";
    TempDir dir;
    const QString path = dir.file("lesson.avi");
    const ToolResult made = RunTool("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=5",
                                               "-t", "2", "-c:v", "mjpeg", path});
    ASSERT_EQ(made.exitCode, 0) << made.output.toStdString();
    const auto clip = ClipToReplace(path, false);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->frames, 10);
    EXPECT_NEAR(clip->seconds, 2.0, 0.01);
}

// The question in the three languages names the file, the frames and the seconds.
TEST(EarlierClip, QuestionInEveryLanguage)
{
    const capture::EarlierClip clip{180, 12.04};
    for (text::Language language : {text::Language::English, text::Language::ChineseTraditional,
                                    text::Language::ChineseSimplified}) {
        text::SetLanguage(language);
        const QString q = capture::ReplaceClipQuestion("/home/t/capture.avi", clip);
        EXPECT_TRUE(q.contains("/home/t/capture.avi") && q.contains("180") && q.contains("12"))
            << q.toStdString();
        EXPECT_FALSE(q.contains("%")) << q.toStdString();
    }
    text::SetLanguage(text::Language::English);
}
