// The live sound window on the test audio server (a 440 Hz sine source): opened from the frame
// and from the analyser and recorder, it shows the source's frequency; Freeze and "Open in
// analyser" hand the moment to an analyser window; the other views show their read-outs.
#include "live/LiveSoundWindow.h"
#include "recorder/RecordingChecks.h"
#include "recorder/frmSettings.h"
#include "support/FrameFixture.h"
#include "support/Shots.h"
#include "support/WavFixture.h"
#include "support/Tools.h"

#include <QAction>
#include <QAudioDevice>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

namespace {

double NumberIn(const QString& text)
{
    const auto m = QRegularExpression("-?[0-9]+\\.?[0-9]*").match(text);
    return m.hasMatch() ? m.captured(0).toDouble() : -1e9;
}

QString Text(QWidget* w, const char* label)
{
    auto* l = w->findChild<QLabel*>(label);
    return l ? l->text() : QString("(no label %1)").arg(label);
}

class LiveInFrame : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        if (QMediaDevices::audioInputs().isEmpty()) GTEST_SKIP() << "no audio input (start the test audio server)";
        WarmUpAudioInput();
    }

    LiveSoundWindow* open()
    {
        QAction* item = frame.findChild<QAction*>("mnulivesound");
        EXPECT_TRUE(item && item->isEnabled());
        if (!item) return nullptr;
        item->trigger();
        auto* w = lastChild<LiveSoundWindow>();
        if (w) w->parentWidget()->resize(900, 640);
        return w;
    }

    void showView(LiveSoundWindow* w, int index)
    {
        w->findChild<QTabWidget*>("tabViews")->setCurrentIndex(index);
        QTest::qWait(300);   // a few redraws
    }
};

} // namespace

TEST_F(LiveInFrame, OpenedFromTheFrameItShows440HzFromTheSineSource)
{
    LiveSoundWindow* w = open();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), "Live Sound");
    showView(w, 1);
    // 16384 points take 0.37 s of sound; the read-out settles on the source's 440 Hz.
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(NumberIn(Text(w, "lblPeak")) - 440) < 0.05; }, 10000))
        << qPrintable(Text(w, "lblPeak"));
    EXPECT_NEAR(NumberIn(Text(w, "lblFundamental")), 440, 0.5) << qPrintable(Text(w, "lblFundamental"));
    SaveShot(w, "live-spectrum");

    showView(w, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(w, "lblTrigger") == "Triggered"; }, 3000)) << qPrintable(Text(w, "lblTrigger"));
    // Cursor 2 one period after cursor 1, placed with the mouse: 1/Δt reads the tone.
    auto* scope = w->findChild<QWidget*>("picScope");
    ASSERT_TRUE(scope);
    EXPECT_TRUE(Text(w, "lblCursors").startsWith("Δt = ")) << qPrintable(Text(w, "lblCursors"));
    SaveShot(w, "live-scope");
    // The cursors placed with the mouse: cursor 2 by the right button.
    QTest::mouseClick(scope, Qt::RightButton, {}, QPoint(scope->width() / 2, scope->height() / 2));
    EXPECT_NE(w->session().settings().cursorMs[1], 4.0);

    showView(w, 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->session().spectrogram().columnsAdded() > 20; }, 3000));
    SaveShot(w, "live-spectrogram");
    showView(w, 3);
    EXPECT_TRUE(Text(w, "lblRms").startsWith("RMS: ")) << qPrintable(Text(w, "lblRms"));
    EXPECT_GT(NumberIn(Text(w, "lblRms")), -60);
    SaveShot(w, "live-level");
    showView(w, 4);
    EXPECT_FALSE(Text(w, "lblStopwatchState").isEmpty());
    SaveShot(w, "live-stopwatch");

    // Copy values: the read-outs and the spectrum, tab-separated.
    w->findChild<QPushButton*>("cmdCopyValues")->click();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains("Spectrum\tPeak: 440.0")) << qPrintable(copied.left(300));
    EXPECT_TRUE(copied.contains("Frequency (Hz)\tMagnitude (dBFS)\n"));
    EXPECT_TRUE(prompts->messages().isEmpty()) << qPrintable(prompts->messages().join('|'));
}

TEST_F(LiveInFrame, FreezeAndOpenInAnalyserOpenAWavWhoseSpectrumPeaksAt440Hz)
{
    LiveSoundWindow* w = open();
    ASSERT_TRUE(w);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->session().history().held() > 44100; }, 10000));
    w->findChild<QPushButton*>("cmdFreeze")->click();
    const std::int64_t held = w->session().history().total();
    QTest::qWait(200);
    EXPECT_EQ(w->session().history().total(), held);   // frozen: nothing more taken
    EXPECT_TRUE(Text(w, "lblStatus").startsWith("Frozen")) << qPrintable(Text(w, "lblStatus"));

    const int before = int(frame.mdiArea()->subWindowList().size());
    w->findChild<QPushButton*>("cmdOpenInAnalyser")->click();
    ASSERT_EQ(int(frame.mdiArea()->subWindowList().size()), before + 1);
    WavForm* analyser = lastChild<WavForm>();
    ASSERT_TRUE(analyser);
    const QString path = analyser->document().samplesFile;
    EXPECT_TRUE(path.endsWith(".wav")) << qPrintable(path);
    const SoxFormat f = ReadWithSox(path);
    EXPECT_TRUE(f.read);
    EXPECT_EQ(f.rate, 44100);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.frames, held);
    const std::vector<Peak> peaks = StrongestPeaks(path, 1);
    ASSERT_FALSE(peaks.empty());
    EXPECT_NEAR(peaks[0].frequency, 440, 2);
    EXPECT_TRUE(prompts->messages().isEmpty()) << qPrintable(prompts->messages().join('|'));
}

TEST_F(LiveInFrame, TheAnalyserAndTheRecorderOpenTheOneLiveWindow)
{
    WavForm* analyser = nullptr;
    {
        const QString path = dir.file("tone.wav");
        ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(4410, 1, 440, 8000)));
        analyser = openSound(path);
    }
    ASSERT_TRUE(analyser);
    QAction* item = analyser->findChild<QAction*>("mnulivesound");
    ASSERT_TRUE(item && item->isEnabled());
    item->trigger();
    LiveSoundWindow* w = lastChild<LiveSoundWindow>();
    ASSERT_TRUE(w);
    frame.findChild<QAction*>("mnurecordsound")->trigger();
    auto* recorder = lastChild<frmSettings>();
    ASSERT_TRUE(recorder);
    auto* button = recorder->findChild<QPushButton*>("cmdLiveSound");
    ASSERT_TRUE(button && button->isEnabled());
    button->click();
    EXPECT_EQ(lastChild<LiveSoundWindow>(), w);
    int windows = 0;
    for (QMdiSubWindow* sub : frame.mdiArea()->subWindowList()) windows += qobject_cast<LiveSoundWindow*>(sub->widget()) != nullptr;
    EXPECT_EQ(windows, 1);
}

TEST_F(LiveInFrame, InChineseTraditionalEveryViewTakesItsTextsFromTheTable)
{
    text::SetLanguage(text::Language::ChineseTraditional);
    LiveSoundWindow* w = open();
    ASSERT_TRUE(w);
    auto* tabs = w->findChild<QTabWidget*>("tabViews");
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("即時聲音"));
    const char* names[] = {"scope", "spectrum", "spectrogram", "level", "stopwatch"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->session().history().held() > 3 * 44100; }, 10000));
    for (int i = 0; i < tabs->count(); ++i) {
        EXPECT_EQ(tabs->tabText(i), LoadText(722 + i));
        showView(w, i);
        if (i == 1) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return Text(w, "lblPeak").startsWith(QString::fromUtf8("峰值: 440.0")); }, 10000))
                << qPrintable(Text(w, "lblPeak"));
        }
        SaveShot(w, QString("live-%1-zh_TW").arg(names[i]));
    }
    EXPECT_EQ(w->findChild<QPushButton*>("cmdFreeze")->text(), QString::fromUtf8("凍結"));
    text::SetLanguage(text::Language::English);
}

TEST_F(LiveInFrame, TwoClicksPlayedIntoTheNullSinkDriveTheStopwatchFromItsMonitor)
{
    if (!ToolAvailable("paplay") || !ToolAvailable("pactl")) GTEST_SKIP() << "paplay or pactl is not installed";
    // Qt lists no monitor sources: the null sink's monitor is offered as a source of its own.
    const ToolResult loaded = RunTool("pactl", {"load-module", "module-remap-source", "master=nullsink.monitor",
                                                "source_name=kivra_clicks", "source_properties=device.description=Clicks"});
    if (loaded.exitCode != 0) GTEST_SKIP() << "no null sink monitor: " << qPrintable(loaded.output);
    struct Unload {
        QString module;
        ~Unload() { RunTool("pactl", {"unload-module", module}); }
    } unload{loaded.output.trimmed()};
    LiveSoundWindow* w = open();
    ASSERT_TRUE(w);
    auto* inputs = w->findChild<QComboBox*>("cboInput");
    int monitor = -1;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        monitor = inputs->findData(QByteArray("kivra_clicks"));
        return monitor >= 0;
    }, 5000)) << "the monitor's source did not appear among the inputs";
    inputs->setCurrentIndex(monitor);
    w->listen();
    showView(w, 4);
    QTest::qWait(500);   // whatever the monitor held before
    w->findChild<QPushButton*>("cmdResetStopwatch")->click();
    EXPECT_EQ(Text(w, "lblStopwatchState"), "Waiting for the first sound");

    // Two clicks half a second apart in silence.
    std::vector<int> samples(44100 * 3 / 2, 0);
    for (int at : {11025, 11025 + 22050})
        for (int i = 0; i < 400; ++i)
            samples[std::size_t(at + i)] = int(25000 * std::exp(-i / 80.0) * std::sin(i * 0.7 + 1.2));
    const QString clicks = dir.file("clicks.wav");
    ASSERT_TRUE(WriteWav(clicks, WavShape{}, samples));
    const ToolResult played = RunTool("paplay", {"--device=nullsink", clicks});
    EXPECT_EQ(played.exitCode, 0) << qPrintable(played.output);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(w, "lblStopwatchState") == "Stopped"; }, 5000))
        << qPrintable(Text(w, "lblStopwatchState"));
    // The stream keeps every sample: 22050 samples, give or take the server's resampling.
    const double seconds = NumberIn(Text(w, "lblStopwatch"));
    EXPECT_NEAR(seconds, 0.5, 2.0 / 44100) << qPrintable(Text(w, "lblStopwatch"));
}
