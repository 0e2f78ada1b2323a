// The recorder window: opened from the frame, its controls and texts, the buttons driving the
// engine (on a scripted device), the hand-over to the analyser; and a programmed recording on the
// test audio server that starts and stops on time and saves itself without a click.
#include "recorder/mci/MediaControl.h"
#include "platform/system/Settings.h"
#include "general/General.h"
#include "recorder/RecordingChecks.h"
#include "recorder/RecorderSettings.h"
#include "recorder/RecordingDevice.h"
#include "recorder/RecordingNames.h"
#include "recorder/frmSettings.h"
#include "recorder/modWave.h"
#include "support/FakeFrame.h"
#include "support/FrameFixture.h"
#include "support/ScriptedMediaControl.h"
#include "support/Shots.h"
#include "support/TimeScale.h"

#include <QAction>
#include <QFile>
#include <QAudioDevice>
#include <QGroupBox>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <tuple>

namespace {

QPushButton* Button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(name); }
QRadioButton* Option(QWidget* w, const char* name) { return w->findChild<QRadioButton*>(name); }

void Click(QWidget* w, const char* name)
{
    QAbstractButton* b = w->findChild<QAbstractButton*>(name);
    ASSERT_TRUE(b) << name;
    ASSERT_TRUE(b->isEnabled()) << name;
    // An option reacts on its circle and caption, which may not reach its middle.
    const QPoint at = qobject_cast<QRadioButton*>(b) ? QPoint(8, b->height() / 2) : b->rect().center();
    QTest::mouseClick(b, Qt::LeftButton, {}, at);
}

class RecorderInFrame : public FrameFixture {
protected:
    ScopedScriptedMediaControl device;
};

class RecorderWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        text::SetLanguage(text::Language::English);
        for (const char* key : {"Rate", "Channels", "Resolution", "WaveFileName", "WaveAutomaticSave"})
            platform::DeleteSetting(RecorderSettingsApp, RecorderSettingsSection, key);
    }
    FakeFrame frame;
    ScopedScriptedPrompts prompts;
    ScopedScriptedMediaControl device;
    TempDir dir;
};

} // namespace

// A recording not yet saved keeps the recorder, and KIVRA, open when the user cancels the
// question: closing the window, closing the frame and Exit alike.
TEST_F(RecorderInFrame, AnUnsavedRecordingIsKeptWhenTheUserCancels)
{
    frame.findChild<QAction*>("mnurecordsound")->trigger();
    auto* window = lastChild<frmSettings>();
    ASSERT_TRUE(window);
    Click(window, "cmdRecord");
    Click(window, "cmdstop");
    prompts->clear();
    prompts->QueueAnswer(Answer::Cancel);
    prompts->QueueAnswer(Answer::Cancel);
    prompts->QueueAnswer(Answer::Cancel);
    window->parentWidget()->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    frame.findChild<QAction*>("mnuExitItem")->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompts->messages(), QStringList(3, LoadText(593)));
    EXPECT_EQ(device->commands.count("close capture"), 0);
    EXPECT_TRUE(Button(window, "cmdSave")->isEnabled());
}

TEST_F(RecorderInFrame, TheFrameOpensOneRecorderWindowWithEveryControl)
{
    QAction* item = frame.findChild<QAction*>("mnurecordsound");
    ASSERT_TRUE(item->isEnabled());
    item->trigger();
    auto* window = lastChild<frmSettings>();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Record Audio");

    struct Control {
        const char* name;
        const char* text;
        const char* tip;
    };
    const Control controls[] = {
        {"cmdRecord", "Record", "Remember to select microphone as input in volume Control"},
        {"cmdstop", "Stop", "Stop recording or playing"},
        {"cmdPlay", "Play", "Play the recording"},
        {"cmdSave", "Save", "Save the recording as  WAV file"},
        {"cmdreset", "Reset", "To start a new recording and adjusting all settings"},
        {"cmdSettings", "Setting", "Change rate, stereo/mono, 8/16 bits and program an automatic recording"},
        {"cmdMidi", "Choose midi file to record  ", ""},
        {"cmdOke", "OK", ""},
        {"Volumecontrol", "&Volume Control  ", ""},
        {"waveform", "&Waveform", ""},
        {"cmdStartTime", "Start time ", ""},
        {"cmdStopTime", "Stop time", ""},
        {"cmdFileName", "File ", ""},
    };
    for (const Control& c : controls) {
        QPushButton* b = Button(window, c.name);
        ASSERT_TRUE(b) << c.name;
        EXPECT_EQ(b->text(), c.text) << c.name;
        EXPECT_EQ(b->toolTip(), c.tip) << c.name;
    }
    const std::pair<const char*, const char*> frames[] = {
        {"Frame1", "Sample rate (Hz)"}, {"Frame2", "Channels"}, {"Frame3", "Resolutions"},
        {"Frame6", "Record options"}, {"frmTimes", "Enter times  "}, {"frmManualAuto", "Saving file"}};
    for (const auto& [name, title] : frames) {
        auto* box = window->findChild<QGroupBox*>(name);
        ASSERT_TRUE(box) << name;
        EXPECT_EQ(box->title(), title);
    }
    const std::pair<const char*, const char*> options[] = {
        {"optRate6000", "6000"}, {"optRate8000", "8000"}, {"optRate11025", "11025"}, {"optRate22050", "22050"},
        {"optRate44100", "44100"}, {"optMono", "Mono"}, {"optStereo", "Stereo"}, {"opt8bits", "8 bits"},
        {"opt16bits", "16 bits"}, {"optRecordImmediate", "Manual recording"},
        {"optRecordProgrammed", "Programmed recording"}, {"Option10", "Manual "}, {"Option11", "Automatic"}};
    for (const auto& [name, caption] : options) {
        ASSERT_TRUE(Option(window, name)) << name;
        EXPECT_EQ(Option(window, name)->text(), caption);
    }
    EXPECT_EQ(window->findChild<QLabel*>("StatisticsLabel")->toolTip(), "Information about the recording");
    // The stored defaults are selected: 11025 Hz, mono, 16 bits, manual, automatic saving.
    for (const char* on : {"optRate11025", "optMono", "opt16bits", "optRecordImmediate", "Option11"})
        EXPECT_TRUE(Option(window, on)->isChecked()) << on;
    EXPECT_FALSE(window->findChild<QGroupBox*>("frmTimes")->isVisibleTo(window));
    SaveShot(window, "recorder-idle-en");

    // OK hides the one window, which comes back as it was.
    Click(window, "cmdOke");
    EXPECT_FALSE(window->parentWidget()->isVisible());
    EXPECT_EQ(platform::GetSetting(RecorderSettingsApp, RecorderSettingsSection, "Rate"), "11025");
    const qsizetype windows = frame.mdiArea()->subWindowList().size();
    item->trigger();
    EXPECT_EQ(lastChild<frmSettings>(), window);
    EXPECT_EQ(frame.mdiArea()->subWindowList().size(), windows);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(RecorderWindow, ButtonsDriveTheRecordingAndTheAnalyserGetsTheSavedFile)
{
    frmSettings window;
    window.show();
    EXPECT_FALSE(Button(&window, "cmdstop")->isEnabled());
    Click(&window, "optRate44100");
    Click(&window, "optStereo");
    device->commands.clear();
    Click(&window, "cmdRecord");
    EXPECT_EQ(device->commands.last(), "record capture");
    EXPECT_TRUE(device->commands.contains(
        "set capture alignment 4 bitspersample 16 samplespersec 44100 channels 2 bytespersec 176400"));
    EXPECT_FALSE(Button(&window, "cmdRecord")->isEnabled());
    EXPECT_FALSE(Button(&window, "cmdSave")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(window.windowTitle(), QString("KIVRA Recorder: recording"), Slack(5000));

    Click(&window, "cmdstop");
    EXPECT_EQ(window.windowTitle(), "KIVRA Recorder: stopped");
    EXPECT_TRUE(window.findChild<QLabel*>("StatisticsLabel")->text().startsWith("Recorded audio duration:0 sec  (0 Bytes)\n"));
    EXPECT_TRUE(Button(&window, "cmdSave")->isEnabled());

    // Saving: the dialog proposes a name from the stop time and offers WAV files.
    const QString take = dir.file("take.wav");
    prompts->QueueFile(take);
    Click(&window, "cmdSave");
    ASSERT_FALSE(prompts->shown().empty());
    EXPECT_EQ(prompts->shown().back().filter, "Wave Files  (*.wav*)|*.wav");
    EXPECT_TRUE(window.CommonDialog1.Flags == 1026);
    EXPECT_EQ(device->commands.last(), "save capture " + take);

    device->commands.clear();
    Click(&window, "waveform");
    EXPECT_EQ(frame.asked.last(), QString("sound %1 0").arg(take));
    EXPECT_EQ(device->commands, (QStringList{"close capture", "close all", "open new type waveaudio alias capture"}));
    EXPECT_TRUE(prompts->messages().isEmpty());
}

TEST_F(RecorderWindow, AChosenMidiFilePlaysWithTheRecordingAndNamesTheSave)
{
    const QString tune = dir.file("class song.MID");
    QFile midi(tune);
    ASSERT_TRUE(midi.open(QIODevice::WriteOnly));
    midi.write("MThd");
    midi.close();
    frmSettings window;
    window.show();
    prompts->QueueFile(std::nullopt);
    Click(&window, "cmdMidi");   // cancelled: nothing chosen
    EXPECT_EQ(prompts->shown().back().filter, "Midi file (*.mid*)|*.mid");
    EXPECT_TRUE(window.session().wave().MidiFileName.isEmpty());
    prompts->QueueFile(tune);
    Click(&window, "cmdMidi");
    const QString alias = window.session().wave().MidiFileName;
    EXPECT_FALSE(alias.contains(' '));

    device->commands.clear();
    Click(&window, "cmdRecord");
    EXPECT_EQ(device->commands.mid(device->commands.size() - 3),
              (QStringList{"open " + alias + " type sequencer alias midi", "play midi", "record capture"}));
    // The announcement names the file the user chose, not the alias sent to the device.
    EXPECT_EQ(prompts->messages(), QStringList{"Midi file" + tune + " will be recorded"});
    Click(&window, "cmdstop");
    EXPECT_TRUE(device->commands.contains("stop midi"));
    // The Save dialog proposes the MIDI file's own name as a WAV file beside it.
    prompts->QueueFile(std::nullopt);
    Click(&window, "cmdSave");
    EXPECT_EQ(window.CommonDialog1.FileName, dir.file("class song.wav"));
}

TEST_F(RecorderWindow, SettingAsksFirstAndShowsTheFormatChooser)
{
    frmSettings window;
    window.show();
    prompts->QueueAnswer(Answer::Cancel);
    device->commands.clear();
    Click(&window, "cmdSettings");
    EXPECT_EQ(prompts->messages(), QStringList{"If you continue your data will be lost!"});
    EXPECT_TRUE(device->commands.isEmpty());
    prompts->QueueAnswer(Answer::OK);
    Click(&window, "cmdSettings");
    EXPECT_EQ(frame.asked, QStringList{"audio format"});
    EXPECT_EQ(device->commands.first(), "close all");
}

TEST_F(RecorderWindow, FailuresAreShownOneBoxEachAndTheWindowGoesOn)
{
    device->Fail("record capture");
    device->Fail("open /music/tune.mid type sequencer alias midi");
    frmSettings window;
    window.show();
    window.session().wave().MidiFileName = "/music/tune.mid";
    Click(&window, "cmdRecord");
    EXPECT_EQ(prompts->messages(), (QStringList{"Midi file/music/tune.mid will be recorded", "Opening midi file failed!",
                                                "Playing midi file failed!",
                                                "Recording not possible, please restart your computer..."}));
    EXPECT_EQ(prompts->shown().front().title, QCoreApplication::applicationName());
    // A recording that stops by itself is told and the window is ready to save.
    device->Succeed("record capture");
    Click(&window, "cmdreset");
    Click(&window, "cmdRecord");
    prompts->clear();
    device->HaltRecording(MediaControl::Halt::DiskFull);
    EXPECT_EQ(prompts->messages(), QStringList{LoadText(594) + "\n" + LoadText(592)});
    EXPECT_TRUE(Button(&window, "cmdSave")->isEnabled());
    EXPECT_TRUE(Button(&window, "cmdRecord")->isEnabled());
}

// The options show the format recorded: a rate chosen stays chosen through Reset, and is sent.
TEST_F(RecorderWindow, TheRateChosenIsTheRateRecordedAfterReset)
{
    frmSettings window;
    window.show();
    Click(&window, "optRate44100");
    Click(&window, "cmdreset");
    EXPECT_TRUE(Option(&window, "optRate44100")->isChecked());
    EXPECT_EQ(platform::GetSetting(RecorderSettingsApp, RecorderSettingsSection, "Rate"), "44100");
    device->commands.clear();
    Click(&window, "cmdRecord");
    EXPECT_TRUE(device->commands.contains(
        "set capture alignment 2 bitspersample 16 samplespersec 44100 channels 1 bytespersec 88200"));
    Click(&window, "cmdstop");
    EXPECT_TRUE(window.findChild<QLabel*>("StatisticsLabel")->text().contains("44100 Hz"));
}

namespace {
// Prompts that note which commands the device had received when each message box was shown.
class PromptsWatchingDevice : public ScriptedPrompts {
public:
    explicit PromptsWatchingDevice(ScriptedMediaControl& device) : device_(device) {}
    Answer MsgBox(const QString& prompt, MsgButtons buttons, const QString& title, MsgIcon icon) override
    {
        sentWhenShown << device_.commands.join(" | ");
        return ScriptedPrompts::MsgBox(prompt, buttons, title, icon);
    }
    QStringList sentWhenShown;

private:
    ScriptedMediaControl& device_;
};
}

TEST_F(RecorderWindow, TheMidiAnnouncementIsAnsweredBeforeTheRecordingStarts)
{
    auto watching = std::make_unique<PromptsWatchingDevice>(*device);
    PromptsWatchingDevice& watch = *watching;
    std::unique_ptr<Prompts> before = Prompts::Install(std::move(watching));
    frmSettings window;
    window.show();
    window.session().wave().MidiFileName = "/music/tune.mid";
    device->commands.clear();
    Click(&window, "cmdRecord");
    ASSERT_EQ(watch.messages(), QStringList{"Midi file/music/tune.mid will be recorded"});
    EXPECT_FALSE(watch.sentWhenShown[0].contains("record capture")) << qPrintable(watch.sentWhenShown[0]);
    EXPECT_FALSE(watch.sentWhenShown[0].contains("play midi"));
    EXPECT_EQ(device->commands.last(), "record capture");
    Prompts::Install(std::move(before));
}

// The shared dialog proposes no name of another type: after a WAV was saved, the MIDI dialog
// opens in its folder without proposing it.
TEST_F(RecorderWindow, TheMidiDialogDoesNotProposeTheLastWave)
{
    frmSettings window;
    window.show();
    Click(&window, "cmdRecord");
    Click(&window, "cmdstop");
    prompts->QueueFile(dir.file("rec1.wav"));
    Click(&window, "cmdSave");
    prompts->QueueFile(std::nullopt);
    Click(&window, "cmdMidi");
    const ScriptedPrompts::Shown& midi = prompts->shown().back();
    EXPECT_EQ(midi.kind, ScriptedPrompts::Shown::Kind::Open);
    EXPECT_TRUE(midi.fileName.isEmpty()) << qPrintable(midi.fileName);
    EXPECT_EQ(QDir(midi.initDir), QDir(dir.path()));
    EXPECT_EQ(window.CommonDialog1.FileName, dir.file("rec1.wav"));   // Cancel changes nothing
}

// Closing the recorder, in any state and any language, stops its check at once and shows no
// message but the question when a recording would be lost, nor does KIVRA closing it again when
// it quits.
class RecorderClosing
    : public RecorderWindow,
      public ::testing::WithParamInterface<std::tuple<text::Language, const char*>> {};

TEST_P(RecorderClosing, StopsTheCheckAndShowsNoMessage)
{
    const auto [language, state] = GetParam();
    text::SetLanguage(language);
    frmSettings window;
    window.show();
    const QString inState = state;
    if (inState == "waiting") Click(&window, "optRecordProgrammed");
    if (inState != "idle" && inState != "waiting") Click(&window, "cmdRecord");
    if (inState == "playing") {
        Click(&window, "cmdstop");
        Click(&window, "cmdPlay");
    }
    auto* timer = window.findChild<QTimer*>("Timer2");
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer->isActive(), inState == "waiting" || inState == "recording");
    prompts->clear();
    window.close();   // agreed (OK) when asked
    EXPECT_FALSE(timer->isActive());
    // A tick that was already on its way finds the window closed.
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    window.close();   // KIVRA quitting
    const bool unsaved = inState == "recording" || inState == "playing";
    EXPECT_EQ(prompts->messages(), unsaved ? QStringList{LoadText(593)} : QStringList{})
        << qPrintable(prompts->messages().join(" | "));
    EXPECT_EQ(device->commands.count("close capture"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    StatesAndLanguages, RecorderClosing,
    ::testing::Combine(::testing::Values(text::Language::English, text::Language::ChineseTraditional,
                                         text::Language::ChineseSimplified),
                       ::testing::Values("idle", "waiting", "recording", "playing")),
    [](const auto& info) {
        const text::Language l = std::get<0>(info.param);
        return std::string(l == text::Language::English             ? "English"
                           : l == text::Language::ChineseTraditional ? "ChineseTraditional"
                                                                     : "ChineseSimplified") +
               "_" + std::get<1>(info.param);
    });

// A programmed recording on the real audio device, in English and in Chinese Traditional.
class ProgrammedRecording : public ::testing::TestWithParam<text::Language> {};

TEST_P(ProgrammedRecording, StartsAndStopsOnTimeAndSavesItselfWithoutAClick)
{
    if (QMediaDevices::defaultAudioInput().isNull()) GTEST_SKIP() << "no audio input: run under scripts/start-audio.sh";
    WarmUpAudioInput();
    text::SetLanguage(GetParam());
    const QString language = GetParam() == text::Language::English ? "en" : "zh_TW";
    ScopedScriptedPrompts prompts;
    TempDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    for (const char* key : {"Rate", "Channels", "Resolution", "WaveFileName", "WaveAutomaticSave"})
        platform::DeleteSetting(RecorderSettingsApp, RecorderSettingsSection, key);
    std::unique_ptr<MediaControl> before = MediaControl::Install(nullptr);
    MDIMain frame;
    frame.Load(QString());
    frame.resize(820, 620);
    frame.show();
    frame.showRecorder();   // with the real audio device
    ASSERT_TRUE(MediaControl::Installed());
    frmSettings& window = *frmSettings::Instance();
    ASSERT_TRUE(window.isVisible());
    SaveShot(&window, "recorder-idle-" + language);
    Click(&window, "optRecordProgrammed");
    EXPECT_TRUE(window.findChild<QGroupBox*>("frmTimes")->isVisible());
    EXPECT_FALSE(Button(&window, "cmdRecord")->isEnabled());

    // Start a second or so from now, stop two seconds later.
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime start = now.addMSecs(2000 - now.time().msec());
    prompts->QueueInput(general::DateText(start));
    Click(&window, "cmdStartTime");
    prompts->QueueInput(general::DateText(start.addSecs(2)));
    Click(&window, "cmdStopTime");
    EXPECT_EQ(window.session().wave().StartTime, start);
    SaveShot(&window, "recorder-programmed-waiting-" + language);

    QTRY_VERIFY_WITH_TIMEOUT(window.windowTitle().contains("recording"), Slack(6000));
    // The schedule is looked at every half second; opening the device may take a while on a
    // busy machine.
    const qint64 lateMs = start.msecsTo(QDateTime::currentDateTime());
    EXPECT_LT(lateMs, 2000);
    EXPECT_TRUE(Button(&window, "cmdstop")->isEnabled());
    SaveShot(&window, "recorder-programmed-recording-" + language);

    const QString name = AutomaticSaveName(start, start.addSecs(2));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.file(name)), Slack(15000));
    EXPECT_EQ(prompts->messages(), QStringList{LoadText(590) + "\n" + LoadText(476) + dir.file(name)});
    EXPECT_TRUE(Option(&window, "optRecordImmediate")->isChecked());
    const SoxFormat f = ReadWithSox(dir.file(name));
    ASSERT_TRUE(f.read);
    EXPECT_EQ(f.rate, 11025);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.bits, 16);
    EXPECT_NEAR(f.seconds, 2.0, 0.75);
    const std::vector<Peak> peaks = StrongestPeaks(dir.file(name), 1);
    ASSERT_EQ(peaks.size(), 1u);
    EXPECT_NEAR(peaks[0].frequency, 440, 4);
    SaveShot(&window, "recorder-programmed-saved-" + language);

    window.close();
    QDir::setCurrent(previous);
    MediaControl::Install(std::move(before));
}

INSTANTIATE_TEST_SUITE_P(Languages, ProgrammedRecording,
                         ::testing::Values(text::Language::English, text::Language::ChineseTraditional),
                         [](const auto& info) { return info.param == text::Language::English ? "English" : "ChineseTraditional"; });

// A MIDI file chosen in the window plays into a manual recording on the real audio device: the
// announcement is answered first, and the saved recording holds the tune beside the source.
TEST(RecorderWithMidi, TheTuneIsInTheSavedRecording)
{
    if (QMediaDevices::defaultAudioInput().isNull()) GTEST_SKIP() << "no audio input: run under scripts/start-audio.sh";
    WarmUpAudioInput();
    text::SetLanguage(text::Language::English);
    for (const char* key : {"Rate", "Channels", "Resolution", "WaveFileName", "WaveAutomaticSave"})
        platform::DeleteSetting(RecorderSettingsApp, RecorderSettingsSection, key);
    FakeFrame frame;
    ScopedScriptedPrompts prompts;
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.file("class songs")));
    const QString tune = dir.file("class songs/a5 tune.mid");
    ASSERT_TRUE(WriteMidiNotes(tune, 81, 8, 500));   // A5: 880 Hz
    std::unique_ptr<MediaControl> before = MediaControl::Install(nullptr);
    InstallRecordingDevice();
    {
        frmSettings window;
        window.show();
        prompts->QueueFile(tune);
        Click(&window, "cmdMidi");
        Click(&window, "cmdRecord");
        EXPECT_EQ(prompts->messages().size(), 1);
        const modWave& wave = window.session().wave();
        ASSERT_TRUE(QTest::qWaitFor([&] { return wave.Facts.milliseconds.value_or(0) >= 2000; }, 15000));
        Click(&window, "cmdstop");
        prompts->QueueFile(dir.file("with tune.wav"));
        Click(&window, "cmdSave");
        EXPECT_EQ(prompts->messages().size(), 1) << qPrintable(prompts->messages().join(" | "));
        const std::vector<Peak> peaks = StrongestPeaks(dir.file("with tune.wav"), 2);
        ASSERT_EQ(peaks.size(), 2u);
        std::vector<double> found{peaks[0].frequency, peaks[1].frequency};
        std::sort(found.begin(), found.end());
        EXPECT_NEAR(found[0], 440, 4);
        EXPECT_NEAR(found[1], 880, 4);
        window.close();
    }
    MediaControl::Install(std::move(before));
}
