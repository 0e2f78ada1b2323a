// The player window's rules that need no screen: sizing, routing, caption and file labels.
#include "general/General.h"
#include "player/ClipFileLabels.h"
#include "player/ClipRouting.h"
#include "player/PlayerSizing.h"

#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace player_sizing;

TEST(PlayerSizing, ANewClipSizesTheWindowToItsPictureWithA4700TwipMinimum)
{
    const PlayerLayout clip = InitStartLayout(true, QSize(320, 240), 15, 15);
    EXPECT_EQ(clip.window, QRect(50, 50, 5210, 5200));   // 50 + 4800 + 360, 1000 + 3600 + 600
    EXPECT_EQ(clip.component, QRect(50, 1000, 4800, 3600));

    const PlayerLayout small = InitStartLayout(true, QSize(160, 120), 15, 15);
    EXPECT_EQ(small.window, QRect(50, 50, 4700, 3400));
    EXPECT_EQ(small.component, QRect(50, 1000, 2400, 1800));

    // The component's own control bar goes below the picture, in both heights.
    const PlayerLayout withBar = InitStartLayout(true, QSize(320, 240), 15, 15, 390);
    EXPECT_EQ(withBar.window.height(), 5590);
    EXPECT_EQ(withBar.component, QRect(50, 1000, 4800, 3990));

    // Borders, title and menu bars within the allowance change nothing; taller ones (a larger
    // font's menu bar) grow the window rather than cut the picture.
    EXPECT_EQ(InitStartLayout(true, QSize(320, 240), 15, 15, 0, QSize(120, 600)).window, clip.window);
    EXPECT_EQ(InitStartLayout(true, QSize(320, 240), 15, 15, 0, QSize(120, 750)).window, QRect(50, 50, 5210, 5350));
    EXPECT_EQ(RestoreLayout(QSize(320, 240), 15, 15, 0, QSize(120, 750)).window, QRect(0, 0, 5050, 6050));

    // Where the component stands elsewhere, the window follows its place.
    EXPECT_EQ(InitStartLayout(true, QSize(320, 240), 15, 15, 0, {}, 200, 1200).window, QRect(50, 50, 5360, 5400));

    // A hidden component: the minimum width, and the button band rather than no height at all.
    const PlayerLayout hidden = InitStartLayout(false, QSize(320, 240), 15, 15);
    EXPECT_EQ(hidden.window, QRect(50, 50, 4700, 1600));
}

TEST(PlayerSizing, RestoreAndTheResizeRule)
{
    const PlayerLayout native = RestoreLayout(QSize(320, 240), 15, 15);
    EXPECT_EQ(native.window, QRect(0, 0, 5050, 6050));
    EXPECT_EQ(native.component, QRect(50, 1000, 4800, 3600));
    EXPECT_EQ(RestoreLayout(QSize(640, 480), 12, 12, 300).window, QRect(0, 0, 7930, 8510));

    EXPECT_EQ(ResizedComponent(QSize(6000, 7000)), QRect(50, 1000, 5800, 5550));
    EXPECT_EQ(ResizedComponent(QSize(100, 100)), QRect(50, 1000, 0, 0));   // never below nothing
}

TEST(ClipRouting, AutomaticSendsAviMpgAndAsfInAnyCaseToTheSecondComponent)
{
    using C = ClipComponent;
    const auto automatic = PlaybackChoice::Automatic;
    EXPECT_EQ(RouteClip(automatic, "/clips/drop.wmv"), C::MediaPlayer);
    EXPECT_EQ(RouteClip(automatic, "/clips/drop.AVI"), C::ActiveMovie);
    EXPECT_EQ(RouteClip(automatic, "/clips/drop.Mpg"), C::ActiveMovie);
    EXPECT_EQ(RouteClip(automatic, "/clips/drop.asf"), C::ActiveMovie);
    EXPECT_EQ(RouteClip(automatic, "/clips/drop.mpeg"), C::MediaPlayer);   // the last four characters
    EXPECT_EQ(RouteClip(automatic, "/clips.avi/drop"), C::MediaPlayer);
    EXPECT_EQ(RouteClip(PlaybackChoice::MediaPlayer, "/clips/drop.avi"), C::MediaPlayer);
    EXPECT_EQ(RouteClip(PlaybackChoice::ActiveMovie, "/clips/drop.wmv"), C::ActiveMovie);
}

TEST(ClipFileLabels, LongPathsAreShortenedAndSizesRoundHalfToEven)
{
    const QString path55 = "/" + QString(50, 'a') + ".avi";
    ASSERT_EQ(path55.size(), 55);
    EXPECT_EQ(ClipCaption(path55), path55);
    const QString path56 = "/home/teacher/clips/" + QString(32, 'p') + ".avi";
    ASSERT_EQ(path56.size(), 56);
    EXPECT_EQ(ClipCaption(path56), "/home/teacher/clips/ppppp ... " + QString(21, 'p') + ".avi");

    EXPECT_EQ(ClipSizeText(1536), "(2 kB)");   // 1.5
    EXPECT_EQ(ClipSizeText(2560), "(2 kB)");   // 2.5
    EXPECT_EQ(ClipSizeText(3584), "(4 kB)");   // 3.5
    EXPECT_EQ(ClipSizeText(0), "(0 kB)");
    EXPECT_EQ(ClipSizeText(5LL << 30), "(5242880 kB)");   // no exponent form for big clips
}

TEST(ClipFileLabels, ReadsTheFilesDateAndSizeOrReportsAnError)
{
    TempDir dir;
    const QString path = dir.file("pendulum.avi");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(2560, 'x'));
    file.flush();
    const QDateTime when(QDate(2024, 3, 5), QTime(10, 20, 30));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
    file.close();
    const ClipFileLabels labels = ClipFileLabels::Read(path);
    EXPECT_TRUE(labels.outcome.ok);
    EXPECT_EQ(labels.caption, path.size() > 55 ? ClipCaption(path) : path);
    EXPECT_EQ(labels.date, "2024-03-05 10:20:30");
    EXPECT_EQ(labels.size, "(2 kB)");

    const ClipFileLabels missing = ClipFileLabels::Read(dir.file("gone.avi"));
    EXPECT_FALSE(missing.outcome.ok);
    EXPECT_EQ(missing.outcome.message, "Error!!");
    EXPECT_TRUE(missing.date.isEmpty());
}
