// The time-interval capture window in the real frame, on the test-pattern camera: opened from
// the capture main window's menu, driven through its buttons, checked in the capture file.
#include "capture/frmMain.h"
#include "capture/frmTICapFrame.h"

#include "CaptureProbe.h"
#include "DialogDriver.h"
#include "PatternReader.h"
#include "general/General.h"
#include "platform/system/Settings.h"
#include "platform/camera/TestPattern.h"
#include "support/FakeFrame.h"
#include "support/FrameFixture.h"
#include "support/Shots.h"
#include "support/TextFits.h"
#include "support/TimeScale.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

namespace {

const int kRunTimeoutMs = Slack(30000);

// How far the top-left corner of a decoded test-pattern frame is from the plain pattern of the
// same frame: near 0 without a time stamp, large with one (mean grey difference).
double StampDifference(const QImage& decoded)
{
    const long long counter = PatternCounter(decoded);
    if (counter < 0) return -1;
    const QImage plain = testpattern::Frame(decoded.size(), counter, QDateTime());
    double sum = 0;
    int n = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 120; ++x, ++n) sum += std::abs(qGray(decoded.pixel(x, y)) - qGray(plain.pixel(x, y)));
    return sum / n;
}

// The whole screen as a user sees it (the frame, the capture window and this dialog over them),
// when KIVRA_SHOTS names a folder and the tests run on a real display.
void SaveScreenShot(const QString& name)
{
    const QString folder = qEnvironmentVariable("KIVRA_SHOTS");
    QScreen* screen = QGuiApplication::primaryScreen();
    if (folder.isEmpty() || !screen || QGuiApplication::platformName() == "offscreen") return;
    QCoreApplication::processEvents();
    screen->grabWindow(0).save(QDir(folder).filePath(name + ".png"));
}

class TimeLapseWindowTest : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        qputenv("KIVRA_VIRTUAL_DEVICES", "1");
        platform::SaveSetting("KIVRA", "vidcap settings", "fps", "10");
        platform::DeleteSetting("KIVRA", "driver", "index");
    }
    void TearDown() override
    {
        platform::DeleteSetting("KIVRA", "vidcap settings", "fps");
        qunsetenv("KIVRA_VIRTUAL_DEVICES");
    }

    frmMain* open()
    {
        frame.findChild<QAction*>("mnugrabvideo")->trigger();
        frmMain* w = frmMain::Instance();
        if (w && w->capwnd()) {
            capFileSetCaptureFile(w->capwnd(), dir.file("lapse.avi"));
            EXPECT_TRUE(QTest::qWaitFor([w] { return w->capwnd()->framesReceived() >= 2; }, Slack(5000)));
        }
        return w;
    }
    // Opens the time-interval window from the menu and runs `act` on it; returns when it closed.
    void inWindow(frmMain* w, std::function<void(frmTICapFrame*)> act)
    {
        bool ran = false;
        WhenShown<frmTICapFrame>([&](frmTICapFrame* d) {
            ran = true;
            act(d);
            if (d->isVisible()) d->reject();
        });
        w->findChild<QAction*>("mnutimeintervalcapture")->trigger();
        EXPECT_TRUE(ran) << "the window was not shown";
    }
    static QLineEdit* box(QWidget* d, const char* name) { return d->findChild<QLineEdit*>(name); }
    static QString label(QWidget* d, const char* name) { return d->findChild<QLabel*>(name)->text(); }
    static void setHms(QWidget* d, const std::array<const char*, 3>& names, const std::array<const char*, 3>& texts)
    {
        for (int i = 0; i < 3; ++i) box(d, names[size_t(i)])->setText(texts[size_t(i)]);
    }
    // Waits for the run to complete; false when it did not within the time-out.
    static bool completes(QWidget* d)
    {
        return QTest::qWaitFor([d] { return label(d, "lblCapFile") == "Capture completed!"; }, kRunTimeoutMs);
    }
};

} // namespace

// Five seconds at one frame a second: about five stamped frames in the capture file, on disk as
// they are taken, at the capture settings' frame rate. Start again goes on counting, and frames
// are plain once the time stamp is off.
TEST_F(TimeLapseWindowTest, ImmediateRunFillsTheCaptureFile)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    ASSERT_NE(w->capwnd(), nullptr);
    const QString file = dir.file("lapse.avi");
    int framesOfFirstRun = 0;
    inWindow(w, [&](frmTICapFrame* d) {
        EXPECT_EQ(d->windowTitle(), "Time interval grabbing");
        EXPECT_EQ(label(d, "lblCapFile"), QDir::toNativeSeparators(file));
        EXPECT_EQ(label(d, "lblFrames"), "frames captured");
        EXPECT_EQ(label(d, "lblDateHint_0"), "yyyy-mm-dd hh:mm:ss");
        EXPECT_TRUE(general::ParseDateText(box(d, "Textcurrenttime")->text()).has_value());
        EXPECT_TRUE(d->findChild<QRadioButton*>("optiontime_1")->isChecked());
        EXPECT_EQ(box(d, "Texttisec")->text(), "1");
        EXPECT_EQ(box(d, "Textmin")->text(), "3");
        EXPECT_TRUE(w->Picture1()->isVisibleTo(w)) << "shown while frames are stamped";

        setHms(d, {"Texthr", "Textmin", "Textsec"}, {"0", "0", "5"});
        Click(d, "Cmdcapture");
        const auto start = general::ParseDateText(box(d, "Textstarting")->text());
        const auto end = general::ParseDateText(box(d, "Textcompletion")->text());
        ASSERT_TRUE(start && end);
        EXPECT_EQ(start->secsTo(*end), 5);

        // Mid-run, the frames taken are already in the file.
        ASSERT_TRUE(QTest::qWaitFor([d] { return general::Val(label(d, "lblFrames")) >= 2; }, kRunTimeoutMs));
        SaveShot(d, "frmTICapFrame-running-en");
        SaveScreenShot("frmTICapFrame-running-screen");
        const QString copy = dir.file("mid-run.avi");
        ASSERT_TRUE(QFile::copy(file, copy));
        EXPECT_GE(DecodedFrames(copy), 2);

        ASSERT_TRUE(completes(d));
        EXPECT_FALSE(w->Picture1()->isVisibleTo(w));
        framesOfFirstRun = int(general::Val(label(d, "lblFrames")));
        EXPECT_EQ(label(d, "lblFrames"), QString::number(framesOfFirstRun) + "frames captured");
        const auto v = ProbeStream(file, "v:0");
        EXPECT_EQ(v.value("nb_read_frames").toInt(), framesOfFirstRun) << "each frame counted is in the file";
        EXPECT_EQ(v.value("r_frame_rate"), "10/1");
        EXPECT_GT(StampDifference(DecodedPicture(file, 0)), 40) << "the frames carry the time";

        // A second run, without the time stamp, replacing the first run's clip (asked first):
        // the counter goes on from the first run's.
        w->addTimeStampItem()->setChecked(false);
        setHms(d, {"Texthr", "Textmin", "Textsec"}, {"0", "0", "2"});
        prompts->QueueAnswer(Answer::No);
        Click(d, "Cmdcapture");
        ASSERT_TRUE(QTest::qWaitFor([&] { return general::Val(label(d, "lblFrames")) > framesOfFirstRun; },
                                    kRunTimeoutMs));
        ASSERT_TRUE(completes(d));
        const int total = int(general::Val(label(d, "lblFrames")));
        EXPECT_GE(total, framesOfFirstRun + 1);
        EXPECT_LE(total, framesOfFirstRun + 2);
        Click(d, "Cmdclose");
    });
    EXPECT_NEAR(framesOfFirstRun, 5, 1);
    const double plain = StampDifference(DecodedPicture(file, 0));
    EXPECT_GE(plain, 0);
    EXPECT_LT(plain, 15) << "no time on the frames of the second run";
    const QStringList messages = prompts->messages();
    ASSERT_EQ(messages.size(), 1) << messages.join("|").toStdString();
    EXPECT_TRUE(messages[0].startsWith("The capture file " + QDir::toNativeSeparators(file) +
                                       " already holds a captured clip of " + QString::number(framesOfFirstRun) +
                                       " frames"))
        << messages[0].toStdString();
    EXPECT_FALSE(capCaptureSingleFrameClose(w->capwnd())) << "closed with the window";
}

// A capture file with a clip of an earlier capture: Start Capture asks. Cancel leaves the clip,
// the boxes and the clock as they were; Yes keeps the clip under the name chosen, then captures.
// Started again while its frames are still open, a run goes on in the same clip, unasked.
TEST_F(TimeLapseWindowTest, EarlierClipIsKeptOrLeftAsItWas)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    const QString file = dir.file("lapse.avi");
    ASSERT_TRUE(capCaptureSingleFrameOpen(w->capwnd()));
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(capCaptureSingleFrame(w->capwnd()));
    ASSERT_TRUE(capCaptureSingleFrameClose(w->capwnd()));
    auto bytes = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray earlier = bytes(file);
    ASSERT_FALSE(earlier.isEmpty());
    const QString kept = dir.file("plant day 1.avi");

    inWindow(w, [&](frmTICapFrame* d) {
        setHms(d, {"Texthr", "Textmin", "Textsec"}, {"0", "0", "2"});
        prompts->QueueAnswer(Answer::Cancel);
        Click(d, "Cmdcapture");
        ASSERT_EQ(prompts->messages().size(), 1);
        EXPECT_TRUE(prompts->messages()[0].contains("4 frames")) << prompts->messages()[0].toStdString();
        EXPECT_EQ(prompts->shown()[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(bytes(file), earlier);
        EXPECT_EQ(box(d, "Textstarting")->text(), "");
        EXPECT_EQ(box(d, "Textcompletion")->text(), "");
        EXPECT_TRUE(d->findChild<QTimer*>("Timer1")->isActive()) << "the clock goes on";
        QTest::qWait(1200);
        EXPECT_EQ(label(d, "lblFrames"), "frames captured");
        EXPECT_EQ(bytes(file), earlier) << "no frame taken after Cancel";

        prompts->clear();
        prompts->QueueAnswer(Answer::Yes);
        prompts->QueueFile(kept);
        Click(d, "Cmdcapture");
        ASSERT_EQ(prompts->shown().size(), 2u);
        EXPECT_EQ(prompts->shown()[1].kind, ScriptedPrompts::Shown::Kind::Save);
        EXPECT_EQ(bytes(kept), earlier) << "the earlier clip, kept whole";
        ASSERT_TRUE(QTest::qWaitFor([d] { return general::Val(label(d, "lblFrames")) >= 1; }, kRunTimeoutMs));

        // Started again mid-run: the same clip goes on, nothing asked.
        prompts->clear();
        Click(d, "Cmdcapture");
        ASSERT_TRUE(completes(d));
        EXPECT_TRUE(prompts->shown().empty());
        Click(d, "Cmdclose");
    });
    EXPECT_EQ(DecodedFrames(kept), 4);
    EXPECT_GE(DecodedFrames(file), 2);
}

// Wrong boxes are named and nothing runs; the immediate option takes its duration from the dates;
// Cancel stops and then reads Close, and closes when pressed again.
TEST_F(TimeLapseWindowTest, BoxesMessagesAndButtons)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    bool closedByCancel = false;
    inWindow(w, [&](frmTICapFrame* d) {
        box(d, "Texttimin")->setText("x");
        Click(d, "Cmdcapture");
        EXPECT_EQ(prompts->messages(), QStringList{"Incorrect format for minute  in time intervalx"});
        EXPECT_FALSE(d->findChild<QTimer*>("Timer1")->isActive()) << "off until a start succeeds";
        box(d, "Texttimin")->setText("0");

        d->findChild<QRadioButton*>("optiontime_0")->click();
        box(d, "Textstarting")->setText("2026-12-08 14:00:00");
        box(d, "Textcompletion")->setText("8.12.2026 15:02:05");
        d->findChild<QRadioButton*>("optiontime_1")->click();
        EXPECT_EQ(box(d, "Texthr")->text(), "1");
        EXPECT_EQ(box(d, "Textmin")->text(), "2");
        EXPECT_EQ(box(d, "Textsec")->text(), "5");

        // A programmed run far ahead: armed, the clock ticking, no frame yet.
        d->findChild<QRadioButton*>("optiontime_0")->click();
        box(d, "Textstarting")->setText("2099-01-01 00:00:00");
        box(d, "Textcompletion")->setText("2099-01-02 00:00:00");
        Click(d, "Cmdcapture");
        EXPECT_EQ(box(d, "Texthr")->text(), "24");
        EXPECT_TRUE(d->findChild<QTimer*>("Timer1")->isActive());
        const QString clock = box(d, "Textcurrenttime")->text();
        EXPECT_TRUE(QTest::qWaitFor([&] { return box(d, "Textcurrenttime")->text() != clock; }, Slack(5000)));

        Click(d, "cmdCancel");
        EXPECT_EQ(d->findChild<QPushButton*>("cmdCancel")->text(), "Cl&ose");
        EXPECT_TRUE(d->isVisible());
        Click(d, "cmdCancel");
        closedByCancel = !d->isVisible();
    });
    EXPECT_TRUE(closedByCancel);
    EXPECT_EQ(prompts->messages().size(), 1);
}

// A camera that gives no frame: the message once a tick, the frame still due, and the run ends
// at its completion with nothing counted.
TEST_F(TimeLapseWindowTest, FailedFramesAreReportedAndTriedAgain)
{
    frmMain* w = open();
    ASSERT_NE(w, nullptr);
    capDriverDisconnect(w->capwnd());
    inWindow(w, [&](frmTICapFrame* d) {
        setHms(d, {"Texthr", "Textmin", "Textsec"}, {"0", "0", "3"});
        Click(d, "Cmdcapture");
        ASSERT_TRUE(completes(d));
        EXPECT_EQ(label(d, "lblFrames"), "frames captured");
    });
    const QStringList messages = prompts->messages();
    EXPECT_GE(messages.size(), 2) << "tried again on later ticks";
    EXPECT_LE(messages.size(), 8) << "no more than one a tick";
    EXPECT_EQ(messages.count("Could not capture frame"), messages.size());
    EXPECT_EQ(prompts->shown().front().title, "KIVRA");
}

namespace {
class TimeLapseWindowLayout : public ::testing::TestWithParam<text::Language> {
protected:
    void SetUp() override { text::SetLanguage(GetParam()); }
    void TearDown() override { text::SetLanguage(text::Language::English); }
    ScopedScriptedPrompts prompts;
    FakeFrame frame;
};
}

// Every text shows whole, in English and in Chinese.
TEST_P(TimeLapseWindowLayout, TextsFit)
{
    qputenv("KIVRA_VIRTUAL_DEVICES", "1");
    frmMain* main = frmMain::Load(true);
    ASSERT_NE(main, nullptr);
    {
        frmTICapFrame d(*main);
        d.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(d.size(), QSize(frmTICapFrame::DesignWidth, frmTICapFrame::DesignHeight) / 15);
        EXPECT_TRUE(ClippedTexts(&d).isEmpty()) << ClippedTexts(&d).join("\n").toStdString();
        SaveShot(&d, QString("frmTICapFrame-") + (GetParam() == text::Language::English ? "en" : "zh_TW"));
    }
    main->outerWindow()->close();
    delete main;
    qunsetenv("KIVRA_VIRTUAL_DEVICES");
}

INSTANTIATE_TEST_SUITE_P(Languages, TimeLapseWindowLayout,
                         ::testing::Values(text::Language::English, text::Language::ChineseTraditional));
