// The media player component plays real files through the audio stack (the private PulseAudio
// server of the test script) under the offscreen platform.
#include "platform/video/MediaPlayer.h"

#include "support/TempDir.h"
#include "support/Tools.h"
#include "support/WavFixture.h"
#include "text/LoadText.h"
#include "support/TimeScale.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QMenu>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <QVideoSink>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

namespace {

const int Deadline = Slack(10000);   // ms; a wait that runs out is a failure

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = Deadline)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

class MediaPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<TempDir>();
        wav_ = dir_->file("tone.wav");
        ASSERT_TRUE(WriteWav(wav_, WavShape{}, Sine(44100 * 2, 1, 440, 8000)));
        if (!ToolAvailable("ffmpeg")) return;
        const bool x264 = RunTool("ffmpeg", {"-hide_banner", "-encoders"}).output.contains("libx264");
        const QStringList mp4Codec = x264 ? QStringList{"-c:v", "libx264", "-pix_fmt", "yuv420p"}
                                          : QStringList{"-c:v", "mpeg4"};
        mp4_ = MakeClip("clip.mp4", mp4Codec);
        avi_ = MakeClip("clip.avi", {"-c:v", "mjpeg"});
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static QString MakeClip(const QString& name, const QStringList& codec)
    {
        const QString path = dir_->file(name);
        QStringList args{"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi",
                         "-i", "testsrc=size=320x240:rate=25", "-t", "2"};
        args << codec << path;
        const ToolResult r = RunTool("ffmpeg", args);
        EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
        return r.exitCode == 0 ? path : QString();
    }

    // Opens a clip and waits until it has loaded (MediaChange).
    static void Open(MediaPlayer& player, const QString& url)
    {
        QSignalSpy changed(&player, &MediaPlayer::MediaChange);
        player.setURL(url);
        ASSERT_TRUE(WaitFor([&] { return changed.count() > 0; })) << player.errorString().toStdString();
        EXPECT_EQ(changed.first().at(0).toString(), url);
    }

    static inline std::unique_ptr<TempDir> dir_;
    static inline QString wav_, mp4_, avi_;
};

TEST(MediaPlayerUrl, WindowsStyleFileUrlsAndPlainPathsNameTheSameFile)
{
    TempDir dir;
    const QString path = dir.file("a tone.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(100, 1, 440, 1000)));
    const QUrl expected = QUrl::fromLocalFile(path);
    EXPECT_EQ(MediaPlayer::SourceUrl("file:\\" + path), expected);
    EXPECT_EQ(MediaPlayer::SourceUrl("file:\\\\" + path), expected);
    EXPECT_EQ(MediaPlayer::SourceUrl("FILE:\\" + path), expected);
    EXPECT_EQ(MediaPlayer::SourceUrl(path), expected);
    EXPECT_EQ(MediaPlayer::SourceUrl(expected.toString()), expected);   // file:///... with %20
    EXPECT_EQ(MediaPlayer::SourceUrl("file:" + path), expected);

    // Relative names are taken from the working folder.
    const QString here = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_EQ(MediaPlayer::SourceUrl("a tone.wav"), expected);
    EXPECT_EQ(MediaPlayer::SourceUrl("file:\\a tone.wav"), expected);
    QDir::setCurrent(here);

    // Backslashes separate folders only where the name with them does not exist.
    EXPECT_EQ(MediaPlayer::SourceUrl("file:\\" + dir.path() + "\\a tone.wav"), expected);
    const QString odd = dir.file("odd\\name.wav");
    ASSERT_TRUE(WriteWav(odd, WavShape{}, Sine(100, 1, 440, 1000)));
    EXPECT_EQ(MediaPlayer::SourceUrl(odd), QUrl::fromLocalFile(odd));

    EXPECT_EQ(MediaPlayer::SourceUrl("http://example.org/a.mp3"), QUrl("http://example.org/a.mp3"));
    EXPECT_TRUE(MediaPlayer::SourceUrl("").isEmpty());
}

TEST_F(MediaPlayerTest, NothingOpenIsStateZeroAndCommandsDoNothing)
{
    MediaPlayer player;
    EXPECT_EQ(player.objectName(), "WindowsMediaPlayer1");
    EXPECT_EQ(player.playState(), MediaPlayer::Undefined);
    QSignalSpy moved(&player, &MediaPlayer::PositionChange);
    player.play();
    player.setCurrentPosition(1.0);
    EXPECT_EQ(player.playState(), MediaPlayer::Undefined);
    EXPECT_EQ(player.currentPosition(), 0.0);
    EXPECT_EQ(player.duration(), 0.0);
    EXPECT_EQ(player.encodedFrameRate(), 0);
    EXPECT_EQ(moved.count(), 0);
}

TEST_F(MediaPlayerTest, PlaysPausesSeeksAndStopsASound)
{
    MediaPlayer player;
    player.resize(300, 60);
    player.show();
    QSignalSpy states(&player, &MediaPlayer::PlayStateChange);
    Open(player, "file:\\" + wav_);
    EXPECT_NEAR(player.duration(), 2.0, 0.01);
    EXPECT_EQ(player.playState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.encodedFrameRate(), 0);
    EXPECT_EQ(player.imageSourceWidth(), 0);
    EXPECT_TRUE(player.pictureRect().isEmpty());   // no picture for a sound
    // ...and no black area where a picture would go.
    EXPECT_EQ(player.grab().toImage().pixelColor(150, 10), player.palette().color(QPalette::Window));

    player.play();
    ASSERT_TRUE(WaitFor([&] { return player.playState() == MediaPlayer::Playing; }));
    ASSERT_TRUE(WaitFor([&] { return player.currentPosition() > 0.3; }))
        << "the position did not advance: " << player.errorString().toStdString();
    ASSERT_FALSE(states.isEmpty());
    EXPECT_EQ(states.last().at(0).toInt(), MediaPlayer::Playing);

    player.pause();
    ASSERT_TRUE(WaitFor([&] { return player.playState() == MediaPlayer::Paused; }));
    EXPECT_EQ(states.last().at(0).toInt(), MediaPlayer::Paused);
    const double held = player.currentPosition();
    QTest::qWait(400);   // time passes while paused
    EXPECT_NEAR(player.currentPosition(), held, 0.002);

    QSignalSpy moved(&player, &MediaPlayer::PositionChange);
    player.setCurrentPosition(1.25);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_NEAR(moved.first().at(0).toDouble(), held, 0.002);
    EXPECT_DOUBLE_EQ(moved.first().at(1).toDouble(), 1.25);
    EXPECT_TRUE(WaitFor([&] { return std::abs(player.currentPosition() - 1.25) < 0.002; }));

    player.play();   // playing goes on from the sought position
    ASSERT_TRUE(WaitFor([&] { return player.currentPosition() > 1.4; }));
    player.stop();
    ASSERT_TRUE(WaitFor([&] { return player.playState() == MediaPlayer::Stopped; }));
    EXPECT_EQ(states.last().at(0).toInt(), MediaPlayer::Stopped);
    EXPECT_EQ(player.currentPosition(), 0.0);
}

// The streams this process has open on the sound server.
int OwnStreams()
{
    const ToolResult list = RunTool("pactl", {"list", "sink-inputs"});
    return int(list.output.count(QString("application.process.id = \"%1\"").arg(QCoreApplication::applicationPid())));
}

TEST_F(MediaPlayerTest, ASoundPlayedToItsEndIsStoppedAndPlaysAgainFromTheStart)
{
    // A sound shown holds no stream on the sound server; it takes one only while it plays. Nor
    // is the media framework started for it (a window showing a sound opens at once).
    MediaPlayer player;
    Open(player, wav_);
    EXPECT_EQ(OwnStreams(), 0);
    EXPECT_EQ(player.findChild<QMediaPlayer*>(), nullptr);
    EXPECT_EQ(player.findChild<QVideoSink*>(), nullptr);
    EXPECT_NEAR(player.duration(), 2.0, 0.01);
    player.setCurrentPosition(1.5);
    player.play();
    ASSERT_TRUE(WaitFor([&] { return player.playState() == MediaPlayer::Playing; }));
    EXPECT_NE(player.findChild<QMediaPlayer*>(), nullptr);
    EXPECT_TRUE(WaitFor([&] { return OwnStreams() == 1; }));
    ASSERT_TRUE(WaitFor([&] { return player.playState() == MediaPlayer::Stopped; }));
    EXPECT_TRUE(WaitFor([&] { return OwnStreams() == 0; }));
    player.play();
    ASSERT_TRUE(WaitFor([&] { return player.playState() == MediaPlayer::Playing; }));
    EXPECT_LT(player.currentPosition(), 1.0);
}

TEST_F(MediaPlayerTest, WritingTheUrlAgainReopensTheClipAndEarlySeeksAreKept)
{
    MediaPlayer player;
    Open(player, wav_);
    player.play();
    ASSERT_TRUE(WaitFor([&] { return player.currentPosition() > 0.2; }));
    player.pause();

    // The same URL once more: back to the start, stopped, announced again.
    QSignalSpy changed(&player, &MediaPlayer::MediaChange);
    player.setURL(wav_);
    EXPECT_EQ(player.playState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.currentPosition(), 0.0);
    // A position written before the clip has loaded is not lost.
    player.setCurrentPosition(1.2);
    EXPECT_DOUBLE_EQ(player.currentPosition(), 1.2);
    ASSERT_TRUE(WaitFor([&] { return changed.count() > 0; }));
    EXPECT_TRUE(WaitFor([&] { return std::abs(player.currentPosition() - 1.2) < 0.002; }));
    player.play();
    ASSERT_TRUE(WaitFor([&] { return player.currentPosition() > 1.3; }));
    player.stop();

    // Positions outside the clip are brought inside it.
    QSignalSpy moved(&player, &MediaPlayer::PositionChange);
    player.setCurrentPosition(-3);
    player.setCurrentPosition(99);
    ASSERT_EQ(moved.count(), 2);
    EXPECT_EQ(moved.at(0).at(1).toDouble(), 0.0);
    EXPECT_NEAR(moved.at(1).at(1).toDouble(), 2.0, 0.01);

    // An empty URL closes the clip.
    player.setURL("");
    EXPECT_EQ(player.playState(), MediaPlayer::Undefined);
}

TEST_F(MediaPlayerTest, AFileThatIsNotMediaLeavesNothingToPlay)
{
    TempDir dir;
    const QString path = dir.file("fake.wav");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is text, not sound");
    f.close();
    MediaPlayer player;
    QSignalSpy changed(&player, &MediaPlayer::MediaChange);
    player.setURL(path);
    ASSERT_TRUE(WaitFor([&] { return !player.errorString().isEmpty(); }));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(player.duration(), 0.0);
    EXPECT_EQ(player.imageSourceWidth(), 0);
    EXPECT_TRUE(player.clipInfo().isEmpty());
    // The component says so where the picture would be, and a playable file takes that away.
    EXPECT_EQ(player.notice(), "This file cannot be played: fake.wav");
    player.setURL(wav_);
    EXPECT_EQ(player.notice(), "");
    player.setURL("file:\\" + path);
    EXPECT_EQ(player.notice(), "This file cannot be played: fake.wav");
    player.setURL("");
    EXPECT_EQ(player.notice(), "");
}

TEST_F(MediaPlayerTest, VideoClipsReportFrameRateAndNativeSizeAndStepByFrames)
{
    if (mp4_.isEmpty() || avi_.isEmpty()) GTEST_SKIP() << "ffmpeg could not make the clips";
    for (const QString& clip : {mp4_, avi_}) {
        SCOPED_TRACE(clip.toStdString());
        MediaPlayer player;
        player.resize(640, 480);
        player.show();
        Open(player, clip);
        EXPECT_EQ(player.encodedFrameRate(), 25);
        EXPECT_EQ(player.imageSourceWidth(), 320);
        EXPECT_EQ(player.imageSourceHeight(), 240);
        EXPECT_NEAR(player.duration(), 2.0, 0.05);

        // One frame forward and back from a paused position, as the player's step buttons do.
        player.play();
        player.pause();
        ASSERT_TRUE(WaitFor([&] { return player.playState() == MediaPlayer::Paused; }));
        player.setCurrentPosition(1.0);
        const double frame = 1.0 / player.encodedFrameRate();
        player.setCurrentPosition(player.currentPosition() + frame);
        EXPECT_TRUE(WaitFor([&] { return std::abs(player.currentPosition() - 1.04) < 0.0005; }))
            << player.currentPosition();
        player.setCurrentPosition(player.currentPosition() - 2 * frame);
        EXPECT_TRUE(WaitFor([&] { return std::abs(player.currentPosition() - 0.96) < 0.0005; }))
            << player.currentPosition();
        EXPECT_EQ(player.playState(), MediaPlayer::Paused);

        // Quick steps, faster than the frames come: each reads the position the last one set.
        QSignalSpy moved(&player, &MediaPlayer::PositionChange);
        for (int i = 0; i < 5; ++i) player.setCurrentPosition(player.currentPosition() + frame);
        ASSERT_EQ(moved.count(), 5);
        EXPECT_NEAR(moved.last().at(0).toDouble(), 1.12, 0.0005);
        EXPECT_NEAR(moved.last().at(1).toDouble(), 1.16, 0.0005);
        EXPECT_TRUE(WaitFor([&] { return std::abs(player.currentPosition() - 1.16) < 0.0005; }))
            << player.currentPosition();
    }
}

TEST_F(MediaPlayerTest, AShownFrameStandsInForTheEnginesUntilTheClipPlays)
{
    if (avi_.isEmpty()) GTEST_SKIP() << "ffmpeg could not make the clips";
    MediaPlayer player;
    player.resize(640, 480);
    player.show();
    Open(player, avi_);
    player.play();
    player.pause();
    ASSERT_TRUE(WaitFor([&] { return player.playState() == MediaPlayer::Paused; }));
    QSignalSpy shown(player.videoSink(), &QVideoSink::videoFrameChanged);
    QSignalSpy moved(&player, &MediaPlayer::PositionChange);
    QImage red(320, 240, QImage::Format_RGB32);
    red.fill(Qt::red);
    player.showFrame(red, 1.0 / 3);
    EXPECT_TRUE(player.showingFrame());
    EXPECT_DOUBLE_EQ(player.currentPosition(), 1.0 / 3);   // exactly, not in whole milliseconds
    ASSERT_EQ(moved.count(), 1);
    EXPECT_DOUBLE_EQ(moved.first().at(1).toDouble(), 1.0 / 3);
    ASSERT_GE(shown.count(), 1);
    EXPECT_EQ(player.videoSink()->videoFrame().toImage().pixelColor(160, 120), QColor(Qt::red));
    // The engine seeks there too, but its picture does not reach the screen.
    EXPECT_FALSE(WaitFor([&] { return shown.count() > 1; }, 1500));

    // Playing goes on from there with the engine's pictures.
    player.play();
    EXPECT_FALSE(player.showingFrame());
    ASSERT_TRUE(WaitFor([&] {
        return player.videoSink()->videoFrame().toImage().pixelColor(160, 120) != QColor(Qt::red);
    }));
    ASSERT_TRUE(WaitFor([&] { return player.currentPosition() > 0.4; }));
    EXPECT_LT(player.currentPosition(), 1.5);
}

TEST_F(MediaPlayerTest, PictureIsCentredAtNativeSizeOrStretchedAndGoesFullScreen)
{
    if (mp4_.isEmpty()) GTEST_SKIP() << "ffmpeg could not make the clips";
    MediaPlayer player;
    player.setControlsVisible(false);
    player.resize(640, 480);
    player.show();
    Open(player, mp4_);
    EXPECT_EQ(player.pictureRect(), QRect(160, 120, 320, 240));   // never enlarged by default
    player.setStretchToFit(true);
    EXPECT_EQ(player.pictureRect(), QRect(0, 0, 640, 480));
    player.resize(400, 150);                                      // proportions kept
    EXPECT_EQ(player.pictureRect(), QRect(100, 0, 200, 150));
    player.setStretchToFit(false);
    EXPECT_EQ(player.pictureRect(), QRect(100, 0, 200, 150));     // shrunk to fit

    // The control bar takes its band at the bottom; the picture stays above it.
    player.setControlsVisible(true);
    player.resize(640, 480);
    const QWidget* bar = player.findChild<QWidget*>("controlBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry().bottom(), 479);
    EXPECT_LE(player.pictureRect().bottom(), bar->geometry().top());

    player.setFullScreen(true);
    EXPECT_TRUE(player.fullScreen());
    player.setFullScreen(false);
    EXPECT_FALSE(player.fullScreen());
    EXPECT_EQ(player.pictureRect().size(), QSize(320, 240));

    // A sound has no picture to show full screen.
    Open(player, wav_);
    player.setFullScreen(true);
    EXPECT_FALSE(player.fullScreen());
}

// Full screen is a window of its own: Escape, a double-click or closing it leave it, and the
// picture in the component, painted by the component itself, never moved.
TEST_F(MediaPlayerTest, FullScreenLeavesOnEscapeOrDoubleClickAndThePictureStaysInPlace)
{
    if (avi_.isEmpty()) GTEST_SKIP() << "ffmpeg could not make the clips";
    MediaPlayer player;
    player.resize(640, 480);
    player.show();
    Open(player, avi_);
    player.play();
    player.pause();
    ASSERT_TRUE(WaitFor([&] { return player.playState() == MediaPlayer::Paused; }));
    QImage red(320, 240, QImage::Format_RGB32);
    red.fill(Qt::red);
    player.showFrame(red, 0.5);
    const QRect picture = player.pictureRect();
    ASSERT_EQ(picture.size(), QSize(320, 240));
    // The component's own pixels hold the picture, black around it.
    QImage shown = player.grab().toImage();
    EXPECT_EQ(shown.pixelColor(picture.center()), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(picture.left() - 4, picture.center().y()), QColor(Qt::black));

    auto* full = player.findChild<QWidget*>("fullScreenPicture");
    ASSERT_NE(full, nullptr);
    auto enter = [&] {
        player.setFullScreen(true);
        return player.fullScreen() && full->isVisible() && full->isWindow() &&
               full->windowState().testFlag(Qt::WindowFullScreen);
    };
    ASSERT_TRUE(enter());
    EXPECT_EQ(full->grab().toImage().pixelColor(full->width() / 2, full->height() / 2), QColor(Qt::red));
    EXPECT_EQ(player.pictureRect(), picture);
    // Other keys and a single click keep it.
    QTest::keyClick(full, Qt::Key_Space);
    QTest::mouseClick(full, Qt::LeftButton);
    EXPECT_TRUE(player.fullScreen());
    QTest::keyClick(full, Qt::Key_Escape);
    EXPECT_FALSE(player.fullScreen());
    EXPECT_FALSE(full->isVisible());

    ASSERT_TRUE(enter());
    QTest::mouseDClick(full, Qt::LeftButton);
    EXPECT_FALSE(player.fullScreen());
    ASSERT_TRUE(enter());
    full->close();
    EXPECT_FALSE(player.fullScreen());

    // Back in the component: the same place, the same pixels, the control bar below.
    EXPECT_EQ(player.pictureRect(), picture);
    shown = player.grab().toImage();
    EXPECT_EQ(shown.pixelColor(picture.center()), QColor(Qt::red));
    EXPECT_TRUE(player.controlsVisible());
    EXPECT_TRUE(player.findChild<QWidget*>("controlBar")->isVisible());
}

TEST_F(MediaPlayerTest, ControlBarAndContextMenuDriveThePlayer)
{
    MediaPlayer player;
    player.resize(300, 60);
    player.show();
    Open(player, wav_);
    auto* play = player.findChild<QToolButton*>("playButton");
    auto* stop = player.findChild<QToolButton*>("stopButton");
    ASSERT_TRUE(play && stop);
    EXPECT_FALSE(stop->isEnabled());   // already stopped
    QTest::mouseClick(play, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return player.playState() == MediaPlayer::Playing; }));
    EXPECT_FALSE(play->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return stop->isEnabled(); }));
    QTest::mouseClick(stop, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return player.playState() == MediaPlayer::Stopped; }));

    // A click beside the slider's handle seeks a tenth of the sound further, as a position change.
    auto* slider = player.findChild<QSlider*>("positionSlider");
    ASSERT_NE(slider, nullptr);
    QSignalSpy moved(&player, &MediaPlayer::PositionChange);
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.first().at(0).toDouble(), 0.0);
    EXPECT_NEAR(moved.first().at(1).toDouble(), 0.2, 0.001);

    // The menu offers the play commands and full screen, in the interface's language.
    QStringList seen;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                if (!a->isSeparator()) seen << a->text();
            menu->close();
        }
    });
    QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(5, 5), player.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&player, &open);
    EXPECT_EQ(seen, QStringList({LoadText(142), LoadText(143), LoadText(144), LoadText(555)}));

    player.setEnableContextMenu(false);
    seen.clear();
    QContextMenuEvent again(QContextMenuEvent::Mouse, QPoint(5, 5), player.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&player, &again);
    EXPECT_FALSE(again.isAccepted());
}

TEST_F(MediaPlayerTest, FocusEventsAndPlacementInTwips)
{
    QWidget window;
    window.resize(600, 400);
    auto* other = new QLineEdit(&window);
    auto* player = new MediaPlayer(&window);
    QSignalSpy got(player, &MediaPlayer::GotFocus);
    QSignalSpy lost(player, &MediaPlayer::LostFocus);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    other->setFocus();
    QTest::mouseClick(player, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_TRUE(WaitFor([&] { return got.count() == 1; }));
    EXPECT_TRUE(player->hasFocus());
    other->setFocus();
    ASSERT_TRUE(WaitFor([&] { return lost.count() == 1; }));

    // Placement in twips survives the round trip through whole pixels.
    player->Move(50, 1000, 4800, 3600);
    EXPECT_EQ(player->geometry(), QRect(3, 67, 320, 240));
    EXPECT_EQ(player->Left(), 50);
    EXPECT_EQ(player->Top(), 1000);
    EXPECT_EQ(player->Width(), 4800);
    EXPECT_EQ(player->Height(), 3600);
    player->move(10, 20);   // moved by other means: read from the pixels
    EXPECT_EQ(player->Left(), 150);
    EXPECT_EQ(player->Top(), 300);

    EXPECT_TRUE(player->Visible());
    player->hide();
    EXPECT_FALSE(player->Visible());
}

} // namespace
