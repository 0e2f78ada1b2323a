// The capture main window in the real frame, on the test-pattern camera, driven as a user does:
// its menus, its dialogs and what they write.
#include "capture/frmAlloc.h"
#include "capture/frmCapFrame.h"
#include "capture/frmCapPal.h"
#include "capture/frmCapVid.h"
#include "capture/frmMain.h"
#include "capture/frmPrefs.h"
#include "capture/device/CapturePreview.h"

#include "CaptureProbe.h"
#include "DialogDriver.h"
#include "PatternReader.h"
#include "general/General.h"
#include "capture/device/AudioFormatChooser.h"
#include "platform/system/Settings.h"
#include "platform/system/TemporaryFiles.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ChildWindow.h"
#include "support/FakeFrame.h"
#include "support/FrameFixture.h"
#include "support/Shots.h"
#include "support/Tools.h"
#include "support/TimeScale.h"

#include <QAudioDevice>
#include <QCameraDevice>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMediaDevices>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <set>

namespace {

const QString kMissing = "\x01missing";

class CaptureMainWindowTest : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        qputenv("KIVRA_VIRTUAL_DEVICES", "1");
        for (const auto& [section, key] : std::vector<std::pair<QString, QString>>{
                 {"preferences", "left"}, {"preferences", "top"}, {"preferences", "backcolor"},
                 {"preferences", "maxframes"}, {"preferences", "streammaster"}, {"driver", "index"},
                 {"palette", "numcolors"}, {"vidcap settings", "fps"}, {"vidcap settings", "time limit"},
                 {"vidcap settings", "seconds"}, {"vidcap settings", "cap audio"}})
            platform::DeleteSetting("KIVRA", section, key);
    }
    void TearDown() override { qunsetenv("KIVRA_VIRTUAL_DEVICES"); }

    // Opens the capture window from the frame's Video menu, with its capture file in the test's
    // folder.
    frmMain* open()
    {
        frame.findChild<QAction*>("mnugrabvideo")->trigger();
        frmMain* w = frmMain::Instance();
        if (w && w->capwnd()) {
            capFileSetCaptureFile(w->capwnd(), dir.file("capture.avi"));
            EXPECT_TRUE(QTest::qWaitFor([w] { return w->capwnd()->framesReceived() >= 2; }, Slack(5000)));
        }
        return w;
    }
    QAction* action(frmMain* w, const char* name) { return w->findChild<QAction*>(name); }
    QMdiSubWindow* sub(frmMain* w) { return qobject_cast<QMdiSubWindow*>(w->outerWindow()); }
    QString setting(const QString& section, const QString& key)
    {
        return platform::GetSetting("KIVRA", section, key, kMissing);
    }
};

} // namespace

TEST_F(CaptureMainWindowTest, OpensOnTheCameraSizedToItsPicture)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(prompts->messages().isEmpty()) << prompts->messages().join("|").toStdString();
    ASSERT_NE(w->capwnd(), nullptr);
    EXPECT_EQ(w->windowTitle(), LoadText(200));
    EXPECT_TRUE(sub(w)->isVisible());
    EXPECT_EQ(action(w, "mnuDriver_0")->text(), LoadText(635) + " 1.0");
    EXPECT_TRUE(action(w, "mnuDriver_0")->isChecked());
    EXPECT_TRUE(action(w, "mnuPreview")->isChecked());
    EXPECT_TRUE(action(w, "mnuaddtimestamp")->isChecked());
    EXPECT_TRUE(action(w, "mnuFormat")->isEnabled());
    EXPECT_TRUE(action(w, "mnuSource")->isEnabled());
    EXPECT_FALSE(action(w, "mnuDisplay")->isEnabled());
    EXPECT_FALSE(action(w, "mnuOverlay")->isEnabled());
    EXPECT_TRUE(action(w, "mnutimeintervalcapture")->isEnabled());
    EXPECT_EQ(action(w, "mnuCapVid")->text(), "&Grab Video...");
    EXPECT_EQ(w->findChild<QMenu*>("mnuCapture")->title(), "&Video");
    // Sized around the picture: the capture window shows it whole, centred in the client area.
    EXPECT_EQ(w->preview()->size(), QSize(640, 480));
    const QWidget* client = w->centralWidget();
    EXPECT_EQ(client->width(), 640);
    EXPECT_EQ(client->height(), 480 + 2 * w->YBorder());
    EXPECT_EQ(w->preview()->pos(), QPoint(0, w->YBorder()));
    SaveShot(w, "capture-window-en");
}

TEST_F(CaptureMainWindowTest, ShowsItsMenusInChineseTraditional)
{
    text::SetLanguage(text::Language::ChineseTraditional);
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), LoadText(200));
    EXPECT_EQ(w->findChild<QMenu*>("mnuCapture")->title(), QString::fromUtf8("視頻(&V)"));
    EXPECT_EQ(action(w, "mnuDriver_0")->text(), QString::fromUtf8("KIVRA 測試圖樣攝影機 1.0"));
    SaveShot(w, "capture-window-zh_TW");
    text::SetLanguage(text::Language::English);
}

TEST_F(CaptureMainWindowTest, WithoutACameraSaysSoAndMakesNoCaptureWindow)
{
    qunsetenv("KIVRA_VIRTUAL_DEVICES");
    if (!QMediaDevices::videoInputs().isEmpty()) GTEST_SKIP() << "this machine has a camera";
    // Choosing the sound format first opens the capture main window unseen: it says nothing of
    // cameras then, only that the format could not be set.
    if (!QMediaDevices::defaultAudioInput().isNull()) {
        WhenShown<AudioFormatChooser>([](AudioFormatChooser* d) { Click(d, "cmdOK"); });
        frame.findChild<QAction*>("mnuaudiosettings")->trigger();
        EXPECT_EQ(prompts->messages(), QStringList{"Could not set new audio format"});
        prompts->clear();
    }
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(prompts->messages(), QStringList{"No capture hardware detected"});
    EXPECT_EQ(prompts->shown()[0].title, "KIVRA");
    EXPECT_EQ(w->capwnd(), nullptr);
    EXPECT_EQ(action(w, "mnuDriver_0")->text(), "<none>");
    EXPECT_FALSE(action(w, "mnuDriver_0")->isEnabled());
    EXPECT_EQ(w->driverItem(1), nullptr);
}

TEST_F(CaptureMainWindowTest, StoredDriverBeyondTheDriversFallsBackToTheFirst)
{
    platform::SaveSetting("KIVRA", "driver", "index", "7");
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(prompts->messages().isEmpty());
    EXPECT_TRUE(action(w, "mnuDriver_0")->isChecked());
    EXPECT_EQ(w->capwnd()->driverIndex(), 0);
}

// A stored position past the area's edges is pulled back so that the whole window shows; the
// position is stored again (in twips) when the window closes.
TEST_F(CaptureMainWindowTest, PositionStaysOnTheAreaAndIsStoredOnClosing)
{
    platform::SaveSetting("KIVRA", "preferences", "left", "-900");
    platform::SaveSetting("KIVRA", "preferences", "top", "99999");
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    QMdiSubWindow* s = sub(w);
    // The part of the frame's area on the screen (the test's frame reaches past the screen's
    // bottom edge).
    const QRect area = VisibleChildArea(frame.mdiArea());
    EXPECT_EQ(s->x(), 0);
    EXPECT_EQ(s->y(), std::max(0, area.bottom() + 1 - s->height()));
    s->move(20, 30);
    s->close();
    EXPECT_EQ(setting("preferences", "left"), QString::number(twips::FromPixels(20)));
    EXPECT_EQ(setting("preferences", "top"), QString::number(twips::FromPixels(30)));
    QTRY_VERIFY(frmMain::Instance() == nullptr);
}

// Loaded unseen (the sound format chooser needs its capture window), the window keeps no place
// of its own when it closes. A place stored for a smaller window (before its picture sized it)
// near the area's bottom edge: the window, at its full size, opens wholly in view.
TEST_F(CaptureMainWindowTest, LoadedUnseenStoresNoPositionAndOpensInView)
{
    frmMain* unseen = frmMain::Load(false);
    ASSERT_NE(unseen, nullptr);
    EXPECT_FALSE(unseen->outerWindow()->isVisible());
    unseen->outerWindow()->close();
    QTRY_VERIFY(frmMain::Instance() == nullptr);
    EXPECT_EQ(setting("preferences", "left"), kMissing);
    EXPECT_EQ(setting("preferences", "top"), kMissing);

    const QRect area = VisibleChildArea(frame.mdiArea());
    platform::SaveSetting("KIVRA", "preferences", "left", QString::number(twips::FromPixels(area.width() - 340)));
    platform::SaveSetting("KIVRA", "preferences", "top", QString::number(twips::FromPixels(area.height() - 300)));
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->preview()->size(), QSize(640, 480));
    EXPECT_TRUE(area.contains(sub(w)->geometry()))
        << sub(w)->geometry().x() << "," << sub(w)->geometry().y() << " " << sub(w)->width() << "x"
        << sub(w)->height() << " in " << area.width() << "x" << area.height();
}

TEST_F(CaptureMainWindowTest, ShrinkingBelowTheSmallestClientAreaSpringsBack)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    sub(w)->resize(200, 150);
    QTRY_COMPARE(w->centralWidget()->size(), QSize(320, 240));
    // The picture keeps its size, centred (it is the larger).
    EXPECT_EQ(w->preview()->size(), QSize(640, 480));
    EXPECT_EQ(w->preview()->pos(), QPoint(-160, -120));
}

// Choosing a capture file that does not exist yet opens the file-size dialog, whose OK sets that
// much space aside; an existing file opens no dialog.
TEST_F(CaptureMainWindowTest, NewCaptureFileOpensTheFileSizeDialog)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    const QString fresh = dir.file("lesson.avi");
    prompts->QueueFile(fresh);
    action(w, "mnuSetCapFile")->trigger();
    EXPECT_EQ(capFileGetCaptureFile(w->capwnd()), fresh);
    ASSERT_FALSE(prompts->shown().empty());
    EXPECT_EQ(prompts->shown().back().title, "Set Capture file");
    auto* size = w->findChild<frmAlloc*>();
    ASSERT_NE(size, nullptr);
    EXPECT_TRUE(size->isVisible());
    auto* entry = size->findChild<QLineEdit*>("txtAlloc");
    EXPECT_EQ(entry->text(), "1");
    EXPECT_GT(size->findChild<QLabel*>("lblFreeDisk")->text().toLongLong(), 0);
    entry->setText("-3");
    EXPECT_EQ(entry->text(), "1");
    entry->setText("2");
    Click(size, "cmdOK");
    EXPECT_EQ(QFileInfo(fresh).size(), 2 << 20);
    QTRY_VERIFY(w->findChild<frmAlloc*>() == nullptr);

    prompts->QueueFile(fresh);
    action(w, "mnuSetCapFile")->trigger();
    EXPECT_EQ(w->findChild<frmAlloc*>(), nullptr);
}

// The sequence dialog's OK sends the record (15 fps: 66667 microseconds a frame) and the window
// captures; closing the dialog stores its boxes; the summary is shown and the title comes back.
TEST_F(CaptureMainWindowTest, GrabVideoCapturesWithTheDialogsSettings)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    QStringList titles;
    QObject::connect(w, &QWidget::windowTitleChanged, [&](const QString& t) { titles << t; });
    WhenShown<frmCapVid>([](frmCapVid* d) {
        d->findChild<QLineEdit*>("txtFps")->setText("15");
        d->findChild<QCheckBox*>("chkLimit")->setChecked(true);
        d->findChild<QLineEdit*>("txtSec")->setText("1");
        EXPECT_FALSE(d->findChild<QPushButton*>("Volumecontrol")->isVisibleTo(d));
        d->findChild<QCheckBox*>("chkAudio")->setChecked(true);
        EXPECT_TRUE(d->findChild<QPushButton*>("Volumecontrol")->isVisibleTo(d));
        d->findChild<QCheckBox*>("chkAudio")->setChecked(false);
        Click(d, "Command1_0");
    });
    action(w, "mnuCapVid")->trigger();

    CaptureParameters p;
    ASSERT_TRUE(capCaptureGetSetup(w->capwnd(), p));
    EXPECT_EQ(p.requestMicroSecPerFrame, 66667);
    EXPECT_EQ(p.limitEnabled, 1);
    EXPECT_EQ(p.timeLimit, 1);
    EXPECT_EQ(p.makeUserHitOKToCapture, 1);
    EXPECT_EQ(setting("vidcap settings", "fps"), "15");
    EXPECT_EQ(setting("vidcap settings", "time limit"), "1");
    EXPECT_EQ(setting("vidcap settings", "seconds"), "1");
    EXPECT_EQ(setting("vidcap settings", "cap audio"), "0");

    const QStringList messages = prompts->messages();
    ASSERT_EQ(messages.size(), 2) << messages.join("|").toStdString();
    EXPECT_TRUE(messages[0].startsWith("Select OK to start capturing"));
    // Each of the 15 periods of the second is filled or counted as dropped; a checked build,
    // several times slower at encoding, may drop more than the two a busy machine may.
    const QRegularExpressionMatch summary =
        QRegularExpression("^Captured [0-9.]+ sec\\. (\\d+) frames \\((\\d+) dropped\\)").match(messages[1]);
    ASSERT_TRUE(summary.hasMatch()) << messages[1].toStdString();
    const int frames = summary.captured(1).toInt(), dropped = summary.captured(2).toInt();
    EXPECT_NEAR(frames + dropped, 15, 1) << messages[1].toStdString();
    EXPECT_LE(dropped, TimeScale() == 1 ? 2 : 10) << messages[1].toStdString();
    EXPECT_TRUE(std::any_of(titles.begin(), titles.end(), [](const QString& t) { return t.startsWith("Captured "); }));
    EXPECT_EQ(w->windowTitle(), "KIVRA");
    EXPECT_EQ(ProbeStream(dir.file("capture.avi"), "v:0").value("nb_read_frames").toInt(), frames);
}

// After Grab Single Frame has stopped the picture, Grab Video shows the frames it captures; the
// picture stays without preview afterwards, as the menu says.
TEST_F(CaptureMainWindowTest, GrabVideoShowsItsFramesAfterAGrabbedFrame)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    action(w, "mnuCapFrame")->trigger();
    ASSERT_FALSE(action(w, "mnuPreview")->isChecked());
    const long long grabbed = PatternCounter(w->capwnd()->picture());
    std::set<long long> shown;
    const QMetaObject::Connection watch = QObject::connect(w->capwnd(), &CaptureSession::pictureShown, [&] {
        if (w->capwnd()->capturing()) shown.insert(PatternCounter(w->capwnd()->picture()));
    });
    WhenShown<frmCapVid>([](frmCapVid* d) {
        d->findChild<QLineEdit*>("txtFps")->setText("10");
        d->findChild<QCheckBox*>("chkLimit")->setChecked(true);
        d->findChild<QLineEdit*>("txtSec")->setText("2");
        Click(d, "Command1_0");
    });
    action(w, "mnuCapVid")->trigger();
    QObject::disconnect(watch);
    shown.erase(-1);
    EXPECT_GE(shown.size(), 12u) << "pictures shown while capturing 2 s at 10 fps";
    EXPECT_GT(*shown.begin(), grabbed);
    EXPECT_FALSE(action(w, "mnuPreview")->isChecked());
    EXPECT_FALSE(w->capwnd()->previewing());
}

// A capture file holding an earlier clip: Grab Video and Manual Frame Capture ask first. Cancel
// leaves the clip as it was and captures nothing; No replaces it.
TEST_F(CaptureMainWindowTest, NewClipsAskBeforeReplacingAnEarlierOne)
{
    platform::SaveSetting("KIVRA", "vidcap settings", "fps", "5");
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    const QString file = dir.file("capture.avi");
    ASSERT_TRUE(capCaptureSingleFrameOpen(w->capwnd()));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(capCaptureSingleFrame(w->capwnd()));
    ASSERT_TRUE(capCaptureSingleFrameClose(w->capwnd()));
    const QByteArray earlier = [&] { QFile f(file); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    ASSERT_FALSE(earlier.isEmpty());
    const QString question = LoadText(681).arg(QDir::toNativeSeparators(file), "3", "0.6");

    WhenShown<frmCapVid>([](frmCapVid* d) { Click(d, "Command1_0"); });
    prompts->QueueAnswer(Answer::Cancel);
    action(w, "mnuCapVid")->trigger();
    ASSERT_EQ(prompts->messages(), QStringList{question}) << "asked, and no capture confirmed";
    EXPECT_EQ(prompts->shown()[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(prompts->shown()[0].title, "KIVRA");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), earlier) << "the clip is as it was";
    f.close();

    prompts->clear();
    prompts->QueueAnswer(Answer::No);
    WhenShown<frmCapFrame>([](frmCapFrame* d) {
        Click(d, "Cmdcapture");
        Click(d, "cmdCancel");
    });
    action(w, "mnuCapFrames")->trigger();
    EXPECT_EQ(prompts->messages(), QStringList{question});
    EXPECT_EQ(ProbeStream(file, "v:0").value("nb_read_frames"), "1") << "replaced by the new clip";
}

// Manual frame capture: five presses give a five-frame clip at the capture settings' rate.
TEST_F(CaptureMainWindowTest, ManualFramesGoIntoTheCaptureFile)
{
    platform::SaveSetting("KIVRA", "vidcap settings", "fps", "5");
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    WhenShown<frmCapFrame>([w](frmCapFrame* d) {
        EXPECT_EQ(d->findChild<QLabel*>("lblCapFile")->text(), QDir::toNativeSeparators(w->capwnd()->captureFile()));
        for (int i = 0; i < 5; ++i) Click(d, "Cmdcapture");
        EXPECT_EQ(d->findChild<QLabel*>("lblFrames")->text(), "5  Frames");
        EXPECT_EQ(d->findChild<QPushButton*>("cmdCancel")->text(), "Close");
        Click(d, "cmdCancel");
    });
    action(w, "mnuCapFrames")->trigger();
    const auto v = ProbeStream(dir.file("capture.avi"), "v:0");
    EXPECT_EQ(v.value("nb_read_frames"), "5");
    EXPECT_EQ(v.value("r_frame_rate"), "5/1");
}

// The palette dialog closed straight away changes and writes nothing; frames picked build a
// palette and keep the colour count.
TEST_F(CaptureMainWindowTest, PaletteDialogWritesOnlyWhenSomethingWasCaptured)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    WhenShown<frmCapPal>([](frmCapPal* d) {
        EXPECT_EQ(d->findChild<QLineEdit*>("txtColors")->text(), "256");
        Click(d, "cmdCancel");
    });
    action(w, "mnuCapPal")->trigger();
    EXPECT_EQ(setting("palette", "numcolors"), kMissing);
    EXPECT_TRUE(w->capwnd()->palette().isEmpty());

    WhenShown<frmCapPal>([](frmCapPal* d) {
        d->findChild<QLineEdit*>("txtColors")->setText("32");
        Click(d, "cmdFrame");
        Click(d, "cmdFrame");
        EXPECT_EQ(d->findChild<QLabel*>("lblFrames")->text(), "2  Frames");
        EXPECT_EQ(d->findChild<QPushButton*>("cmdCancel")->text(), "&Close");
        Click(d, "cmdCancel");
    });
    action(w, "mnuCapPal")->trigger();
    EXPECT_EQ(setting("palette", "numcolors"), "32");
    EXPECT_FALSE(w->capwnd()->palette().isEmpty());
    EXPECT_LE(w->capwnd()->palette().size(), 32);
}

TEST_F(CaptureMainWindowTest, PreferencesSelectTheStoredChoicesAndWriteTheNewOnes)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    WhenShown<frmPrefs>([](frmPrefs* d) {
        EXPECT_TRUE(d->findChild<QRadioButton*>("optColor_2")->isChecked());
        EXPECT_TRUE(d->findChild<QRadioButton*>("optMaxFrames_0")->isChecked());
        EXPECT_TRUE(d->findChild<QRadioButton*>("optSynch_0")->isChecked());
        // Clicked on their round buttons.
        for (const char* name : {"optColor_3", "optMaxFrames_1", "optSynch_1"}) {
            auto* option = d->findChild<QRadioButton*>(name);
            QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
        }
        Click(d, "cmdOK");
    });
    action(w, "mnuPreferences")->trigger();
    EXPECT_EQ(setting("preferences", "backcolor"), "0");
    EXPECT_EQ(setting("preferences", "maxframes"), "324000");
    EXPECT_EQ(setting("preferences", "streammaster"), "NONE");
    EXPECT_EQ(w->centralWidget()->palette().color(QPalette::Window), QColor(Qt::black));

    // The title carries KIVRA's name in every language.
    const std::pair<text::Language, const char*> titles[] = {
        {text::Language::English, "KIVRA Capture Preferences"},
        {text::Language::ChineseTraditional, "KIVRA 捕捉偏好設定"},
        {text::Language::ChineseSimplified, "KIVRA 采集首选项"}};
    for (const auto& [language, title] : titles) {
        text::SetLanguage(language);
        frmPrefs d(*w);
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8(title));
    }
    text::SetLanguage(text::Language::English);
}

// A grabbed frame is stamped with its time and saved through a scratch file of this run: a file
// of the user's named stemp.bmp in the current folder is left alone.
TEST_F(CaptureMainWindowTest, SavedFrameCarriesItsTimeStampAndLeavesTheUsersFilesAlone)
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QFile mine(dir.file("stemp.bmp"));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("the user's own file");
    mine.close();

    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    action(w, "mnuCapFrame")->trigger();
    EXPECT_FALSE(action(w, "mnuPreview")->isChecked()) << "the picture stops on the grabbed frame";
    const QString stamp = action(w, "mnuaddtimestamp")->property("Tag").toString();
    EXPECT_TRUE(general::ParseDateText(stamp).has_value()) << stamp.toStdString();
    const long long counter = PatternCounter(w->capwnd()->picture());
    const QString saved = dir.file("frame.bmp");
    prompts->QueueFile(saved);
    action(w, "mnuSaveFrame")->trigger();
    QDir::setCurrent(before);

    const QImage picture(saved);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(PatternCounter(picture), counter);
    if (ToolAvailable("identify")) {
        const ToolResult r = RunTool("identify", {"-format", "%m %[channels] %[bit-depth]", saved});
        EXPECT_TRUE(QRegularExpression("^BMP3? srgb 8$").match(r.output.trimmed()).hasMatch())
            << "24-bit, no alpha: " << r.output.toStdString();
    }
    EXPECT_LT(qGray(picture.pixel(2, 2)), 60) << "the stamp's box";
    EXPECT_EQ(w->Picture1()->pixmap().size(), QSize(640, 480));
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), "the user's own file");
    EXPECT_FALSE(QFile::exists(QDir(platform::ScratchFolder()).filePath("stemp.bmp")));
}

// The status reports as the capture main window shows them.
TEST_F(CaptureMainWindowTest, StatusReportsBecomeTheTitleOrAMessage)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    w->statusReported(510, "Captured 3 frames (0 dropped) 0.200 sec.");
    EXPECT_EQ(w->windowTitle(), "Captured 3 frames (0 dropped) 0.200 sec.");
    w->statusReported(0, "ignored");
    EXPECT_EQ(w->windowTitle(), "Captured 3 frames (0 dropped) 0.200 sec.");
    w->statusReported(301, "");
    EXPECT_EQ(w->windowTitle(), "KIVRA");
    w->statusReported(512, "Captured 1.000 sec.");
    EXPECT_EQ(prompts->messages(), QStringList{"Captured 1.000 sec."});
}

// The frame's Audio Settings open the sound format chooser on the capture window's format,
// loading the capture main window without showing it.
TEST_F(CaptureMainWindowTest, FramesAudioSettingsSetTheCaptureWindowsFormat)
{
    if (QMediaDevices::defaultAudioInput().isNull()) GTEST_SKIP() << "no sound input (start-audio.sh)";
    WhenShown<AudioFormatChooser>([](AudioFormatChooser* d) {
        EXPECT_EQ(d->windowTitle(), "Select Sound Format");
        auto* attributes = d->findChild<QComboBox*>("cboAttributes");
        EXPECT_TRUE(attributes->currentText().startsWith("44100 Hz, 16 bit, Mono"));
        const int at = attributes->findText("8000 Hz, 16 bit, Stereo", Qt::MatchStartsWith);
        ASSERT_GE(at, 0);
        attributes->setCurrentIndex(at);
        Click(d, "cmdOK");
    });
    frame.findChild<QAction*>("mnuaudiosettings")->trigger();
    frmMain* w = frmMain::Instance();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->outerWindow()->isVisible());
    WaveFormatEx format;
    ASSERT_TRUE(capGetAudioFormat(w->capwnd(), format));
    EXPECT_EQ(format, WaveFormatEx::Pcm16(8000, 2));
    EXPECT_TRUE(prompts->messages().isEmpty());
    frame.findChild<QAction*>("mnugrabvideo")->trigger();
    EXPECT_TRUE(w->outerWindow()->isVisible());
}

// The frame's Exit closes the capture window first, which stores its place.
TEST_F(CaptureMainWindowTest, FramesExitClosesTheCaptureWindowFirst)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    sub(w)->move(45, 60);
    frame.findChild<QAction*>("mnuExitItem")->trigger();
    EXPECT_EQ(setting("preferences", "left"), QString::number(twips::FromPixels(45)));
    QTRY_VERIFY(frmMain::Instance() == nullptr);
}

// The cross-links reach the other tools through the frame.
TEST(CaptureMainWindowLinks, OpenTheOtherToolsThroughTheFrame)
{
    ScopedScriptedPrompts prompts;
    FakeFrame fake;
    qputenv("KIVRA_VIRTUAL_DEVICES", "1");
    TempDir dir;
    frmMain* w = frmMain::Load(true);
    ASSERT_NE(w, nullptr);
    capFileSetCaptureFile(w->capwnd(), dir.file("clip.avi"));
    w->findChild<QAction*>("mnuplayvideo")->trigger();
    w->findChild<QAction*>("mnuabout")->trigger();
    w->findChild<QAction*>("mnurecordsound")->trigger();
    EXPECT_EQ(fake.asked, QStringList({"video " + dir.file("clip.avi"), "about", "recorder"}));
    QTRY_VERIFY(frmMain::Instance() == nullptr);
    w = frmMain::Load(true);
    w->findChild<QAction*>("mnushowip")->trigger();
    EXPECT_EQ(fake.asked.last(), "image processor");
    QTRY_VERIFY(frmMain::Instance() == nullptr);

    // System information: the platform's about box with the notice.
    w = frmMain::Load(true);
    w->findChild<QAction*>("mnuSysInfo")->trigger();
    ASSERT_EQ(prompts->shown().size(), 1u);
    EXPECT_EQ(prompts->shown()[0].title, "KIVRA System Info Window");
    EXPECT_TRUE(prompts->shown()[0].prompt.startsWith("OS Information:"));
    EXPECT_TRUE(prompts->shown()[0].prompt.endsWith(LoadText(489)));
    w->close();
    EXPECT_EQ(frmMain::Instance(), nullptr);
    qunsetenv("KIVRA_VIRTUAL_DEVICES");
}
