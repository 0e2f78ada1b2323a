// The video player window in the real frame, playing clips made by ffmpeg whose frames carry
// their numbers: what the picture on screen shows is read back from the component's video sink.
#include "player/playvideo.h"

#include "general/General.h"
#include "platform/video/MediaPlayer.h"
#include "platform/ui/Twips.h"
#include "player/BarcodeClip.h"
#include "player/ClipFileLabels.h"
#include "player/OpenVideoWindow.h"
#include "player/PlayerSizing.h"
#include "support/FrameFixture.h"
#include "support/Tools.h"
#include "support/WavFixture.h"
#include "support/TimeScale.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVideoFrame>
#include <QVideoSink>

#include <memory>

namespace {

// A picture of the screen as it is (video pictures included, which a widget's grab leaves out),
// when KIVRA_SHOTS names a folder and the test runs on an X server.
void SaveScreen(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("KIVRA_SHOTS");
    if (folder.isEmpty() || QGuiApplication::platformName() != "xcb") return;
    window->window()->raise();
    QTest::qWait(300);   // let the video surface paint; only for the picture, never for a check
    RunTool("import", {"-window", "root", QDir(folder).filePath(name + ".png")});
}

const int Deadline = Slack(15000);   // ms; a wait that runs out is a failure

struct Clip {
    QString name;
    int rate;
    QString path;
};

class PlayVideoTest : public FrameFixture {
protected:
    static void SetUpTestSuite()
    {
        clipDir_ = std::make_unique<TempDir>();
        if (!ToolAvailable("ffmpeg")) return;
        auto make = [](const QString& name, int rate, double seconds, const QStringList& encoder) {
            return Clip{name, rate, MakeBarcodeClip(clipDir_->file(name), rate, seconds, encoder)};
        };
        clips_ = {make("mjpeg25.avi", 25, 4, MjpegEncoder()), make("h264_30.mp4", 30, 5, H264Encoder(30, 2)),
                  make("mpeg4_25.avi", 25, 4, Mpeg4Encoder(25, 2))};
        routed_ = make("DROP.AVI", 25, 2, MjpegEncoder());
        wmv_ = make("drop.wmv", 25, 2, {"-c:v", "wmv2", "-q:v", "3"});
    }
    static void TearDownTestSuite() { clipDir_.reset(); }

    void SetUp() override
    {
        FrameFixture::SetUp();
        if (clips_.empty()) GTEST_SKIP() << "ffmpeg is not installed";
        for (const Clip& c : clips_) ASSERT_FALSE(c.path.isEmpty()) << c.name.toStdString();
        frame.setPlaybackChoice(PlaybackChoice::MediaPlayer);
    }
    void TearDown() override { frame.mdiArea()->closeAllSubWindows(); }

    // Opens a clip through OpenVideoWindow and waits until the window has sized itself to it.
    playvideo* open(const QString& path)
    {
        OpenVideoWindow(path);
        playvideo* window = lastChild<playvideo>();
        if (!window || !QTest::qWaitFor([&] { return window->Tag == "resize"; }, Deadline)) return nullptr;
        return window;
    }

    // The frame number the picture on screen carries; -1 for none.
    static int Shown(MediaPlayer* player)
    {
        return ReadBarcode(player->videoSink()->videoFrame().toImage());
    }
    static QString Time(playvideo* window) { return window->findChild<QLineEdit*>("Text1")->text(); }
    static void Click(playvideo* window, const char* button)
    {
        QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    // Waits until the picture on screen is the given frame, the clip paused and the read-out as given.
    static bool ShowsPaused(playvideo* window, int frameNumber, const QString& time)
    {
        MediaPlayer* c = window->component();
        return QTest::qWaitFor([&] {
            return Shown(c) == frameNumber && c->playState() == MediaPlayer::Paused && Time(window) == time;
        }, Deadline);
    }
    static QRect Pixels(const QRect& twipRect)
    {
        return QRect(twips::ToPixels(twipRect.left()), twips::ToPixels(twipRect.top()),
                     twips::ToPixels(twipRect.width()), twips::ToPixels(twipRect.height()));
    }

    static inline std::unique_ptr<TempDir> clipDir_;
    static inline std::vector<Clip> clips_;
    static inline Clip routed_, wmv_;
};

QString TimeText(double seconds) { return general::Format(seconds, u"####.000"); }

} // namespace

TEST_F(PlayVideoTest, StepsLandOnTheFramesTheyNameInEveryCodec)
{
    for (const Clip& clip : clips_) {
        SCOPED_TRACE(clip.name.toStdString());
        playvideo* window = open(clip.path);
        ASSERT_NE(window, nullptr);
        MediaPlayer* c = window->component();
        ASSERT_EQ(c, window->WindowsMediaPlayer1);
        const double frameTime = 1.0 / clip.rate;
        const int at = 2 * clip.rate;

        // Paused at 2.000 s: one step on, two back.
        c->pause();
        c->setCurrentPosition(2.0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Shown(c) >= 0 && Time(window) == "2.000"; }, Deadline));
        Click(window, "cmdnextframe");
        ASSERT_TRUE(ShowsPaused(window, at + 1, TimeText(2 + frameTime))) << Shown(c) << " " << Time(window).toStdString();
        Click(window, "cmdpreviousframe");
        Click(window, "cmdpreviousframe");
        ASSERT_TRUE(ShowsPaused(window, at - 1, TimeText(2 - frameTime))) << Shown(c);
        if (clip.rate == 25) {
            EXPECT_EQ(Time(window), "1.960");
        }

        // Ten steps on and ten back come back to the same frame.
        for (int i = 0; i < 10; ++i) Click(window, "cmdnextframe");
        ASSERT_TRUE(ShowsPaused(window, at + 9, TimeText(double(at + 9) / clip.rate))) << Shown(c);
        for (int i = 0; i < 10; ++i) Click(window, "cmdpreviousframe");
        ASSERT_TRUE(ShowsPaused(window, at - 1, TimeText(2 - frameTime))) << Shown(c);
        if (clip.name.startsWith("h264")) {
            SaveScreen(window, "player-stepping-en");
            // The frame on show can be saved as an image and copied.
            const QString saved = dir.file("frame.png");
            prompts->QueueFile(saved);
            window->findChild<QAction*>("mnuimagesavewhole")->trigger();
            EXPECT_EQ(ReadBarcode(QImage(saved)), at - 1);
            window->findChild<QAction*>("mnucopy")->trigger();
            EXPECT_EQ(ReadBarcode(QGuiApplication::clipboard()->image()), at - 1);
        }

        // From a stopped clip, the button only shows the first frame; the menu steps to the second.
        c->stop();
        ASSERT_TRUE(QTest::qWaitFor([&] { return c->playState() == MediaPlayer::Stopped; }, Deadline));
        Click(window, "cmdnextframe");
        ASSERT_TRUE(ShowsPaused(window, 0, ".000")) << Shown(c);
        c->stop();
        ASSERT_TRUE(QTest::qWaitFor([&] { return c->playState() == MediaPlayer::Stopped; }, Deadline));
        window->findChild<QAction*>("mnunextframe")->trigger();
        ASSERT_TRUE(ShowsPaused(window, 1, TimeText(frameTime))) << Shown(c);

        // Playing goes on from the frame shown.
        c->play();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Shown(c) > 5; }, Deadline));
        frame.mdiArea()->closeAllSubWindows();
    }
}

TEST_F(PlayVideoTest, AutomaticPlaysAviClipsInTheSecondComponentSizedToThePicture)
{
    ASSERT_FALSE(routed_.path.isEmpty());
    frame.setPlaybackChoice(PlaybackChoice::Automatic);
    playvideo* window = open(routed_.path);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->findChild<QAction*>("mnusettinga")->isChecked());   // copied from the frame
    EXPECT_FALSE(window->WindowsMediaPlayer1->Visible());
    ASSERT_EQ(window->component(), window->ActiveMovie1);
    MediaPlayer* second = window->ActiveMovie1;
    EXPECT_FALSE(second->controlsVisible());
    // It plays: the frames on screen move on.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Shown(second) > 3; }, Deadline)) << Shown(second);

    // Sized as the first component would be: the window to the picture, the picture at (50, 1000),
    // the window growing where its title and menu bars take more than the 600 twips allowed.
    QWidget* sub = window->parentWidget();
    const QSize border = sub->size() - window->centralWidget()->size();
    const QSize frameTwips(twips::FromPixels(border.width()), twips::FromPixels(border.height()));
    const PlayerLayout sized = player_sizing::InitStartLayout(true, QSize(320, 240), 15, 15, 0, frameTwips);
    EXPECT_EQ(sized.window.width(), 5210);
    EXPECT_EQ(sized.window.height(), 4600 + std::max(600, frameTwips.height()));
    EXPECT_EQ(sub->geometry(), Pixels(sized.window));
    EXPECT_EQ(second->geometry(), QRect(3, 67, 320, 240));
    EXPECT_LE(second->geometry().bottom(), window->centralWidget()->height() - 1);

    // Restore: the window at (0, 0) with 250 and 2450 twips round the picture, and playing.
    second->pause();
    window->findChild<QPushButton*>("Command7")->click();
    EXPECT_EQ(sub->geometry(), Pixels(QRect(0, 0, 5050, 6050)));
    EXPECT_EQ(second->geometry(), QRect(3, 67, 320, 240));
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->playState() == MediaPlayer::Playing; }, Deadline));

    // The resize rule follows the window, keeping the component inside it.
    sub->resize(500, 420);
    const QRect rule = player_sizing::ResizedComponent(QSize(twips::FromPixels(500), twips::FromPixels(420)));
    EXPECT_EQ(second->Width(), rule.width());
    EXPECT_LE(second->geometry().bottom(), second->parentWidget()->height());

    // A choice made in the window goes back to the frame; the open clip keeps its component.
    window->findChild<QAction*>("mnusettingwmp")->trigger();
    EXPECT_EQ(frame.playbackChoice(), PlaybackChoice::MediaPlayer);
    EXPECT_EQ(window->component(), second);

    // Under Automatic, a .wmv clip plays in the component with its own controls.
    frame.setPlaybackChoice(PlaybackChoice::Automatic);
    ASSERT_FALSE(wmv_.path.isEmpty());
    playvideo* wmv = open(wmv_.path);
    ASSERT_NE(wmv, nullptr);
    EXPECT_EQ(wmv->component(), wmv->WindowsMediaPlayer1);
    EXPECT_FALSE(wmv->ActiveMovie1->Visible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Shown(wmv->WindowsMediaPlayer1) > 3; }, Deadline));
}

TEST_F(PlayVideoTest, CaptionAndFileLabelsOrErrorForAMissingFile)
{
    // A path longer than 55 characters is shortened in the caption.
    QString name = "pendulum-swinging-in-the-physics-lab.avi";
    QString path = dir.file(name);
    while (path.size() < 60) path = dir.file(name.prepend("x"));
    ASSERT_TRUE(QFile::copy(clips_[0].path, path));
    playvideo* window = open(path);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), path.left(25) + " ... " + path.right(25));
    EXPECT_EQ(window->clipPath(), path);
    EXPECT_EQ(window->windowNumber(), VideoWindowCounter());
    const QFileInfo file(path);
    auto* date = window->findChild<QLabel*>("lblDate");
    EXPECT_EQ(date->text(), general::DateText(file.lastModified()));
    EXPECT_EQ(window->findChild<QLabel*>("lblSize")->text(), ClipSizeText(file.size()));
    // The date stands 50 twips to the right of the time box.
    const QLineEdit* time = window->findChild<QLineEdit*>("Text1");
    EXPECT_NEAR(date->x(), time->geometry().right() + 1 + twips::ToPixels(50), 1);
    EXPECT_TRUE(prompts->messages().isEmpty());

    OpenVideoWindow(dir.file("gone.avi"));
    EXPECT_EQ(prompts->count("Error!!"), 1);
}

TEST_F(PlayVideoTest, AClipCutToItsHeaderSaysSoAndOpensNoWindow)
{
    QFile whole(clips_[0].path);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QFile cut(dir.file("cut.avi"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(32));
    cut.close();
    const int before = VideoWindowCounter();
    OpenVideoWindow(cut.fileName());
    EXPECT_EQ(VideoWindowCounter(), before) << "no half-built window";
    ASSERT_EQ(prompts->messages().size(), 1);
    EXPECT_TRUE(prompts->messages().first().contains("cut.avi cannot be played")) << qPrintable(prompts->messages().first());
}

TEST_F(PlayVideoTest, FrameCommandsAndTheDefaultWindowAskForAClip)
{
    const QString videoFilter = "supported video|*.asf;*.avi;*.mov;*.mpg;*.wmv;*.swf|avi Files (*.avi)|*.avi|"
                                "mov files (*.mov)|*.mov|mpeg files (*.mpg)|*.mpg|others(*.*)|*.*";
    const int before = VideoWindowCounter();
    prompts->QueueFile(clips_[0].path);
    frame.findChild<QAction*>("mnuopenvideo")->trigger();
    prompts->QueueFile(std::nullopt);   // Cancel: nothing, silently
    frame.findChild<QAction*>("mnuplayvideo")->trigger();
    EXPECT_EQ(prompts->shown().back().filter, videoFilter);

    // An audio file plays in the player: no picture, the narrowest window, controls in reach.
    const QString wav = dir.file("tone.wav");
    ASSERT_TRUE(WriteWav(wav, WavShape{}, Sine(44100, 1, 440, 8000)));
    prompts->QueueFile(wav);
    frame.findChild<QAction*>("mnuotheraudio")->trigger();
    EXPECT_EQ(prompts->shown().back().filter, "mp3 Files (*.mp3)|*.mp3|wave files (*.wav)|*.wav|others|*.*");
    playvideo* audio = lastChild<playvideo>();
    ASSERT_NE(audio, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return audio->Tag == "resize"; }, Deadline));
    EXPECT_EQ(audio->parentWidget()->width(), twips::ToPixels(4700));
    EXPECT_GT(audio->WindowsMediaPlayer1->height(), 0);
    EXPECT_EQ(VideoWindowCounter(), before + 2);

    // With a player window active, the frame's Open Audio File still asks for a sound.
    frame.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(audio->parentWidget()));
    prompts->QueueFile(std::nullopt);
    frame.findChild<QAction*>("mnuOpenItem")->trigger();
    EXPECT_EQ(prompts->shown().back().filter,
              "Wave Files (*.wav)|*.wav|mp3 Files (*.mp3)|*.mp3|Wave/mp3 files|*.wav;*.mp3");

    // What other windows ask for (the analyser's Play Video): the default window asks each time.
    for (int i = 0; i < 2; ++i) {
        prompts->QueueFile(clips_[1].path);
        frame.openVideoWindow(QString());
        ASSERT_TRUE(QTest::qWaitFor([&] { return VideoWindowCounter() == before + 3 + i; }, Deadline));
        EXPECT_EQ(lastChild<playvideo>()->clipPath(), clips_[1].path);
    }
    EXPECT_EQ(prompts->shown().back().filter, videoFilter);
    QTest::qWait(0);
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<playvideo*>(top) && top->isVisible());
    EXPECT_TRUE(prompts->messages().isEmpty());
}

TEST_F(PlayVideoTest, PlayTellsTheFrameRateAndTheTimeFollowsThePlaying)
{
    playvideo* window = open(clips_[0].path);
    ASSERT_NE(window, nullptr);
    MediaPlayer* c = window->component();
    c->stop();
    window->findChild<QAction*>("mnuplay")->trigger();
    ASSERT_FALSE(prompts->shown().empty());
    EXPECT_EQ(prompts->shown().back().prompt, "25");
    EXPECT_EQ(prompts->shown().back().title, "Encoded Framerate");
    ASSERT_TRUE(QTest::qWaitFor([&] { return general::Val(Time(window)) > 0.3; }, Deadline)) << Time(window).toStdString();

    window->findChild<QPushButton*>("Command6")->click();   // Zoom
    EXPECT_TRUE(c->fullScreen());
    EXPECT_TRUE(c->stretchToFit());
    window->findChild<QAction*>("mnurestore")->trigger();
    EXPECT_FALSE(c->fullScreen());
}

TEST_F(PlayVideoTest, ChineseCaptionsWhileStepping)
{
    text::SetLanguage(text::Language::ChineseSimplified);
    OpenVideoWindow(clips_[1].path);
    playvideo* window = lastChild<playvideo>();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Tag == "resize"; }, Deadline));
    text::SetLanguage(text::Language::English);
    EXPECT_EQ(window->findChild<QPushButton*>("cmdopen")->text(), QString::fromUtf8("打开(&O)"));
    EXPECT_EQ(window->findChild<QLabel*>("lblTime")->text(), QString::fromUtf8("时间(秒)："));
    MediaPlayer* c = window->component();
    c->pause();
    c->setCurrentPosition(1.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Time(window) == "1.000"; }, Deadline));
    Click(window, "cmdnextframe");
    ASSERT_TRUE(ShowsPaused(window, 31, "1.033"));
    SaveScreen(window, "player-stepping-zh_CN");
}

// Two windows on one clip, one over the other, stepped to different frames: each shows its own
// frame in its own place, read from the pixels of the frame's picture as the user sees it.
TEST_F(PlayVideoTest, OverlappingWindowsEachShowTheirOwnFrame)
{
    playvideo* lower = open(clips_[0].path);
    ASSERT_NE(lower, nullptr);
    playvideo* upper = open(clips_[0].path);
    ASSERT_NE(upper, nullptr);
    const struct {
        playvideo* window;
        double at;
        int frame;
    } steps[] = {{lower, 3.0, 76}, {upper, 0.16, 5}};
    for (const auto& s : steps) {
        MediaPlayer* c = s.window->component();
        c->pause();
        c->setCurrentPosition(s.at);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Time(s.window) == TimeText(s.at); }, Deadline));
        Click(s.window, "cmdnextframe");
        ASSERT_TRUE(ShowsPaused(s.window, s.frame, TimeText(s.frame / 25.0))) << Shown(c);
    }
    // The upper window over the lower one's picture, 60 pixels below its top edge.
    QWidget* viewport = frame.mdiArea()->viewport();
    auto pictureIn = [viewport](playvideo* w) {
        MediaPlayer* c = w->component();
        const QRect r = c->pictureRect();
        return QRect(c->mapTo(viewport, r.topLeft()), r.size());
    };
    QWidget* lowerSub = lower->parentWidget();
    QWidget* upperSub = upper->parentWidget();
    lowerSub->move(0, 0);
    const QRect lowerPicture = pictureIn(lower);
    upperSub->move(lowerPicture.left() + 80, lowerPicture.top() + 60);
    upperSub->raise();
    QCoreApplication::processEvents();
    ASSERT_TRUE(upperSub->geometry().intersects(lowerPicture));

    const QImage screen = viewport->grab().toImage();
    const QRect upperPicture = pictureIn(upper);
    EXPECT_EQ(ReadBarcode(screen.copy(upperPicture)), 5);
    // The lower window's picture above the upper window, where nothing covers it.
    const QRect lowerVisible(lowerPicture.left(), lowerPicture.top(), lowerPicture.width(),
                             upperSub->geometry().top() - lowerPicture.top());
    EXPECT_EQ(ReadBarcode(screen.copy(lowerVisible)), 76);
    SaveScreen(upper, "player-two-windows");

    // The other way round: the lower window raised shows its whole frame over the other.
    lowerSub->raise();
    QCoreApplication::processEvents();
    EXPECT_EQ(ReadBarcode(viewport->grab().toImage().copy(pictureIn(lower))), 76);
}

// Zoom, then back by Escape or a double-click, then Restore: the picture at its native size in
// the window, the component's control bar below it, the same every time.
TEST_F(PlayVideoTest, ZoomLeavesByEscapeOrDoubleClickAndRestoreGivesTheNativeSizeEachTime)
{
    playvideo* window = open(clips_[1].path);
    ASSERT_NE(window, nullptr);
    MediaPlayer* c = window->component();
    auto* full = c->findChild<QWidget*>("fullScreenPicture");
    ASSERT_NE(full, nullptr);
    QWidget* sub = window->parentWidget();
    QRect restored;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        window->findChild<QPushButton*>("Command6")->click();
        ASSERT_TRUE(c->fullScreen());
        EXPECT_TRUE(full->isVisible());
        if (round == 0) SaveScreen(full, "player-zoom");
        if (round == 1) QTest::mouseDClick(full, Qt::LeftButton);
        else QTest::keyClick(full, Qt::Key_Escape);
        EXPECT_FALSE(c->fullScreen());

        window->findChild<QPushButton*>("Command7")->click();
        EXPECT_EQ(c->pictureRect().size(), QSize(320, 240));
        const QWidget* bar = c->findChild<QWidget*>("controlBar");
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(bar->isVisible());
        EXPECT_GE(bar->geometry().top(), c->pictureRect().bottom());
        // The whole component inside the window's client area.
        EXPECT_LE(c->geometry().bottom(), window->centralWidget()->height() - 1);
        EXPECT_EQ(sub->pos(), QPoint(0, 0));
        if (round == 0) restored = sub->geometry();
        EXPECT_EQ(sub->geometry(), restored);
        ASSERT_TRUE(QTest::qWaitFor([&] { return c->playState() == MediaPlayer::Playing; }, Deadline));
        if (round == 0) SaveScreen(window, "player-restore");
    }
    // A zoom left by the menu's Restore comes back the same way.
    window->findChild<QAction*>("mnufullscreen")->trigger();
    ASSERT_TRUE(c->fullScreen());
    window->findChild<QAction*>("mnurestore")->trigger();
    EXPECT_FALSE(c->fullScreen());
    EXPECT_EQ(sub->geometry(), restored);
    EXPECT_EQ(c->pictureRect().size(), QSize(320, 240));
}

TEST_F(PlayVideoTest, AFileWithNothingToPlayOpensNoWindowButATruncatedClipPlays)
{
    QByteArray noise(100000, '\0');
    for (int i = 0; i < noise.size(); ++i) noise[i] = char((i * 7919 + (i >> 3) * 104729) & 0xff);
    QFile random(dir.file("noise.mp4"));
    ASSERT_TRUE(random.open(QIODevice::WriteOnly));
    random.write(noise);
    random.close();
    QFile empty(dir.file("empty.avi"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();

    const int before = VideoWindowCounter();
    const qsizetype windows = frame.mdiArea()->subWindowList().size();
    OpenVideoWindow(dir.file("noise.mp4"));
    OpenVideoWindow(dir.file("empty.avi"));
    EXPECT_EQ(frame.mdiArea()->subWindowList().size(), windows);
    EXPECT_EQ(VideoWindowCounter(), before);
    ASSERT_EQ(prompts->messages().size(), 2) << prompts->messages().join("|").toStdString();
    EXPECT_TRUE(prompts->messages()[0].endsWith("cannot be played: no picture or sound that KIVRA can read was found in it."));
    EXPECT_EQ(prompts->shown()[0].title, "Play Video");
    EXPECT_TRUE(prompts->messages()[1].endsWith("is empty (0 bytes): there is nothing in it to play."));

    // The first half of a clip plays its frames.
    QFile whole(clips_[0].path);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile cut(dir.file("cut.avi"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();
    playvideo* window = open(dir.file("cut.avi"));
    ASSERT_NE(window, nullptr);
    window->component()->play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Shown(window->component()) > 10; }, Deadline));
    EXPECT_EQ(prompts->messages().size(), 2);
}

TEST_F(PlayVideoTest, ChineseTraditionalStepCaptions)
{
    text::SetLanguage(text::Language::ChineseTraditional);
    playvideo* window = open(clips_[0].path);
    text::SetLanguage(text::Language::English);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QPushButton*>("cmdpreviousframe")->text(), QString::fromUtf8("上一幀(&V)"));
    EXPECT_EQ(window->findChild<QPushButton*>("cmdnextframe")->text(), QString::fromUtf8("下一幀(&N)"));
    EXPECT_EQ(window->findChild<QAction*>("mnupreviousframe")->text(), QString::fromUtf8("上一幀(&V)"));
    EXPECT_EQ(window->findChild<QAction*>("mnunextframe")->text(), QString::fromUtf8("下一幀(&N)"));
}
