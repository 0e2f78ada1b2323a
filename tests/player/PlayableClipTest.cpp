// Which files open in a player window: real clips made by ffmpeg, cut short, and files that only
// look like clips by their names.
#include "player/BarcodeClip.h"
#include "player/PlayableClip.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "text/LoadText.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {
bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
}

TEST(PlayableClip, FilesWithNothingToPlayAreRefusedWithTheirOwnMessage)
{
    text::SetLanguage(text::Language::English);
    TempDir dir;
    // Random bytes named as an MP4 clip, and an AVI clip of no bytes at all.
    QByteArray noise(200000, Qt::Uninitialized);
    QRandomGenerator generator(22);
    for (char& byte : noise) byte = char(generator.bounded(256));
    ASSERT_TRUE(WriteBytes(dir.file("noise.mp4"), noise));
    ASSERT_TRUE(WriteBytes(dir.file("empty.avi"), {}));

    const Outcome random = CheckClipPlayable(dir.file("noise.mp4"));
    EXPECT_FALSE(random.ok);
    EXPECT_EQ(random.message, dir.file("noise.mp4") +
                                  " cannot be played: no picture or sound that KIVRA can read was found in it.");
    EXPECT_EQ(random.title, "Play Video");

    const Outcome empty = CheckClipPlayable(dir.file("empty.avi"));
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.message, dir.file("empty.avi") + " is empty (0 bytes): there is nothing in it to play.");

    // A missing file is the file labels' "Error!!".
    const Outcome missing = CheckClipPlayable(dir.file("gone.avi"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, "Error!!");

    // In Chinese the path stands inside the sentence.
    text::SetLanguage(text::Language::ChineseTraditional);
    EXPECT_EQ(CheckClipPlayable(dir.file("empty.avi")).message,
              dir.file("empty.avi") + QString::fromUtf8(" 是空檔案（0 位元組），沒有可播放的內容。"));
    text::SetLanguage(text::Language::English);
}

TEST(PlayableClip, WholeAndTruncatedClipsAndWebAddressesOpen)
{
    if (!ToolAvailable("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    TempDir dir;
    const QString whole = MakeBarcodeClip(dir.file("whole.avi"), 25, 4, MjpegEncoder());
    ASSERT_FALSE(whole.isEmpty());
    EXPECT_TRUE(CheckClipPlayable(whole).ok);

    // Cut in the middle of its frames, with no index at its end: it still holds a clip.
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(WriteBytes(dir.file("cut.avi"), bytes.left(bytes.size() / 3)));
    EXPECT_TRUE(CheckClipPlayable(dir.file("cut.avi")).ok);
    // Cut inside its header: nothing is left to play.
    ASSERT_TRUE(WriteBytes(dir.file("header.avi"), bytes.left(40)));
    EXPECT_FALSE(CheckClipPlayable(dir.file("header.avi")).ok);

    EXPECT_TRUE(CheckClipPlayable("http://example.invalid/clip.mp4").ok);
}
