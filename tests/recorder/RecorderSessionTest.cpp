// The recorder window's events on a scripted device with a clock the test sets: settings, manual
// and programmed recording, the schedule check while waiting and running, the automatic save and
// where it goes, recordings that stop by themselves.
#include "general/General.h"
#include "platform/system/Settings.h"
#include "recorder/RecorderSession.h"
#include "recorder/RecorderSettings.h"
#include "recorder/RecordingNames.h"
#include "recorder/modWave.h"
#include "support/ScriptedMediaControl.h"
#include "support/TempDir.h"
#include "text/LoadText.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kApp = RecorderSettingsApp, kSection = RecorderSettingsSection;

class Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        text::SetLanguage(text::Language::English);
        for (const char* key : {"Rate", "Channels", "Resolution", "WaveFileName", "WaveAutomaticSave"})
            platform::DeleteSetting(kApp, kSection, key);
        wave.tell = [this](const Outcome& m) { told << m.message; };
        previousFolder = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override { QDir::setCurrent(previousFolder); }

    QStringList sent()
    {
        QStringList c = device->commands;
        device->commands.clear();
        return c;
    }
    // A programmed recording from 10 s to 20 s after now, waiting.
    void programme()
    {
        session.Load();
        session.ChooseProgrammed();
        session.StartTimeAnswered(general::DateText(now.addSecs(10)));
        session.StopTimeAnswered(general::DateText(now.addSecs(20)));
        sent();
        told.clear();
    }

    ScopedScriptedMediaControl device;
    modWave wave;
    QStringList told;
    TempDir dir;
    QString music = dir.file("Music");
    QDateTime now{QDate(2026, 12, 8), QTime(14, 0, 0)};
    RecorderSession session{wave, [this] { return now; }, [this] { return music; }};
    QString previousFolder;
};

} // namespace

TEST_F(Session, LoadOpensTheDeviceWithTheStoredFormatAndPlansAQuarterOfAnHourAhead)
{
    platform::SaveSetting(kApp, kSection, "Rate", "16000");   // none of the five options
    session.Load();
    EXPECT_EQ(sent(), (QStringList{"close all", "open new type waveaudio alias capture",
                                   "seek capture to start",
                                   "set capture alignment 2 bitspersample 16 samplespersec 16000 channels 1 bytespersec 32000",
                                   "seek capture to start",
                                   "set capture alignment 2 bitspersample 16 samplespersec 16000 channels 1 bytespersec 32000"}));
    EXPECT_EQ(wave.WaveFileName, QDir(MusicFolder()).filePath("audio.wav"));
    EXPECT_TRUE(wave.AutoSave);
    EXPECT_TRUE(wave.ManualMode);
    EXPECT_EQ(wave.StartTime, now.addSecs(900));
    EXPECT_EQ(wave.StopTime, now.addSecs(1800));
    EXPECT_TRUE(session.view().canRecord);
    EXPECT_FALSE(session.view().canStop || session.view().canPlay || session.view().canSave);
    EXPECT_FALSE(session.view().checking);
}

TEST_F(Session, SettingsAreWrittenOnCloseAndReadBackOnResetAndSetting)
{
    session.Load();
    session.ChooseRate(44100);
    session.ChooseChannels(2);
    session.ChooseBits(8);
    session.ChooseAutoSave(false);
    session.FileNameAnswered("night.wav");
    session.Close();
    EXPECT_EQ(platform::GetSetting(kApp, kSection, "Rate"), "44100");
    EXPECT_EQ(platform::GetSetting(kApp, kSection, "Channels"), "2");
    EXPECT_EQ(platform::GetSetting(kApp, kSection, "Resolution"), "8");
    EXPECT_EQ(platform::GetSetting(kApp, kSection, "WaveFileName"), "night.wav");
    EXPECT_EQ(platform::GetSetting(kApp, kSection, "WaveAutomaticSave"), "False");

    platform::DeleteSetting(kApp, kSection, "WaveFileName");
    bool chooserShown = false;
    session.Settings([&] { chooserShown = true; });
    EXPECT_TRUE(chooserShown);
    EXPECT_EQ(wave.SampleRate, 44100);
    EXPECT_EQ(wave.WaveFileName, DefaultWaveFileName());   // in the music folder, not on C:
    EXPECT_TRUE(DefaultWaveFileName().startsWith(MusicFolder()));
}

// The options on screen are the format recorded: a choice made after the last close is the one
// Reset and Setting keep, the one sent to the device and the one the view selects.
TEST_F(Session, TheFormatChosenIsTheFormatRecordedAfterResetAndSetting)
{
    session.Load();
    EXPECT_EQ(session.view().rate, 11025);
    session.ChooseRate(44100);
    session.ChooseChannels(2);
    session.ChooseAutoSave(false);
    sent();
    session.Reset();
    EXPECT_EQ(wave.SampleRate, 44100);
    EXPECT_EQ(wave.Channels, 2);
    EXPECT_FALSE(wave.AutoSave);
    EXPECT_TRUE(sent().contains("set capture alignment 4 bitspersample 16 samplespersec 44100 channels 2 bytespersec 176400"));
    EXPECT_EQ(session.view().rate, 44100);
    EXPECT_EQ(session.view().channels, 2);
    EXPECT_FALSE(session.view().autoSave);

    session.ChooseRate(22050);
    session.ChooseBits(8);
    session.Settings(nullptr);
    session.Record();
    EXPECT_TRUE(sent().contains("set capture alignment 2 bitspersample 8 samplespersec 22050 channels 2 bytespersec 44100"));
    EXPECT_EQ(session.view().rate, 22050);
    EXPECT_EQ(session.view().bits, 8);

    // A stored rate that is none of the five options is shown as such (no option) and used.
    platform::SaveSetting(kApp, kSection, "Rate", "16000");
    session.Stop();
    session.Reset();
    EXPECT_EQ(session.view().rate, 16000);
    EXPECT_EQ(wave.SampleRate, 16000);
}

// Settings of earlier versions, under the old application name, are read while KIVRA's own
// store has none, and KIVRA's own win once written.
TEST_F(Session, OldSettingsAreReadWhereKivraHasNone)
{
    platform::SaveSetting(OldRecorderSettingsApp, OldRecorderSettingsSection, "Rate", "22050");
    platform::SaveSetting(OldRecorderSettingsApp, OldRecorderSettingsSection, "WaveAutomaticSave", "False");
    session.Load();
    EXPECT_EQ(wave.SampleRate, 22050);
    EXPECT_FALSE(wave.AutoSave);
    session.ChooseRate(8000);
    session.Reset();
    EXPECT_EQ(wave.SampleRate, 8000);
    platform::DeleteSetting(OldRecorderSettingsApp, OldRecorderSettingsSection, "Rate");
    platform::DeleteSetting(OldRecorderSettingsApp, OldRecorderSettingsSection, "WaveAutomaticSave");
}

TEST_F(Session, ManualRecordingStartsAndStopsWithTheButtons)
{
    session.Load();
    sent();
    session.Record();
    EXPECT_EQ(sent(), (QStringList{"close all", "open new type waveaudio alias capture", "seek capture to start",
                                   "set capture alignment 2 bitspersample 16 samplespersec 11025 channels 1 bytespersec 22050",
                                   "record capture"}));
    EXPECT_EQ(wave.StartTime, now);
    EXPECT_TRUE(wave.Recording);
    EXPECT_TRUE(session.view().checking);
    EXPECT_TRUE(session.view().canStop);
    EXPECT_FALSE(session.view().canRecord || session.view().canPlay || session.view().canSave);

    session.Tick();
    EXPECT_EQ(session.view().title, "KIVRA Recorder: recording");
    sent();
    now = now.addSecs(5);
    session.Stop();
    EXPECT_EQ(sent().first(), "stop capture");
    EXPECT_EQ(wave.StopTime, now);
    EXPECT_TRUE(wave.RecordingFinished);
    EXPECT_FALSE(wave.Recording);
    EXPECT_FALSE(session.view().checking);
    EXPECT_TRUE(session.view().canSave && session.view().canPlay && session.view().canRecord);
    EXPECT_FALSE(session.view().canStop);
    EXPECT_EQ(session.view().title, "KIVRA Recorder: stopped");
    EXPECT_EQ(session.ProposedSaveName(), "Audio_2026-12-08_14-00-05");
    EXPECT_TRUE(session.SaveNeededBeforeAnalyser() == false);   // Record is enabled again after Stop
}

TEST_F(Session, AProgrammedRecordingStartsAndStopsOnTimeAndSavesItself)
{
    programme();
    EXPECT_TRUE(session.view().checking);   // the check runs while the recording waits
    EXPECT_FALSE(session.view().canRecord);
    now = now.addSecs(5);
    session.Tick();
    EXPECT_FALSE(sent().contains("record capture"));
    EXPECT_NE(session.view().statistics.indexOf("Programmed recording (Automatic Save )\r\n\r\nStart time :  2026-12-08 14:00:10"), -1);

    now = now.addSecs(6);   // 14:00:11
    session.Tick();
    EXPECT_TRUE(sent().endsWith("record capture"));
    EXPECT_TRUE(wave.Recording);
    EXPECT_TRUE(session.view().checking);
    EXPECT_TRUE(told.isEmpty());

    now = now.addSecs(10);   // 14:00:21
    session.Tick();
    EXPECT_TRUE(sent().contains("save capture Radio_from_2026-12-08_14.00.10_to_2026-12-08_14.00.20.wav"));
    const QString saved = dir.file("Radio_from_2026-12-08_14.00.10_to_2026-12-08_14.00.20.wav");
    EXPECT_TRUE(QFile::exists(saved));
    EXPECT_EQ(told, QStringList{"Recording has been saved\nFilename: " + saved});
    EXPECT_TRUE(wave.RecordingFinished);
    EXPECT_TRUE(wave.ManualMode);
    EXPECT_FALSE(session.view().programmedChosen);
    EXPECT_FALSE(session.view().checking);
    EXPECT_TRUE(session.view().canSave);
    // The display shows the finished recording.
    EXPECT_EQ(session.view().title, "KIVRA Recorder: stopped");
    EXPECT_EQ(session.view().statistics.indexOf("Programmed recording"), -1);

    told.clear();
    now = now.addSecs(60);
    session.Tick();   // finished: nothing more until the next reset
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_TRUE(told.isEmpty());
}

TEST_F(Session, AnAutomaticSaveGoesToTheMusicFolderWhenTheCurrentFolderIsGone)
{
    programme();
    ASSERT_TRUE(QDir().mkpath(dir.file("stick")));
    QDir::setCurrent(dir.file("stick"));
    ASSERT_TRUE(QDir(dir.file("stick")).removeRecursively());   // the USB stick was pulled out
    now = now.addSecs(30);
    session.Tick();   // starts and, both times being past, stops at once
    const QString saved = music + "/Radio_from_2026-12-08_14.00.10_to_2026-12-08_14.00.20.wav";
    EXPECT_TRUE(QFile::exists(saved));
    EXPECT_EQ(told, QStringList{"Recording has been saved\nFilename: " + saved});
}

TEST_F(Session, WithoutAutomaticSavingTheUserIsRemindedToSave)
{
    programme();
    session.ChooseAutoSave(false);
    now = now.addSecs(30);
    session.Tick();
    EXPECT_FALSE(sent().join(' ').contains("save capture"));
    EXPECT_EQ(told, QStringList{"Recording is ready\nDon't forget to save recording..."});
    EXPECT_TRUE(session.SaveNeededBeforeAnalyser() == false);
}

TEST_F(Session, ARecordingThatStopsByItselfKeepsWhatItHolds)
{
    session.Load();
    session.Record();
    told.clear();
    sent();
    now = now.addSecs(3);
    session.Halted(MediaControl::Halt::DiskFull);
    EXPECT_EQ(told, QStringList{LoadText(594) + "\n" + LoadText(592)});
    EXPECT_FALSE(wave.Recording);
    EXPECT_TRUE(wave.RecordingFinished);
    EXPECT_EQ(wave.StopTime, now);
    EXPECT_TRUE(session.view().canSave);
    EXPECT_FALSE(sent().join(' ').contains("open new"));   // the recording is not thrown away

    // A programmed one is saved as at its stop time, named after the moment it stopped.
    told.clear();
    programme();
    now = now.addSecs(12);
    session.Tick();
    ASSERT_TRUE(wave.Recording);
    session.Halted(MediaControl::Halt::InputLost);
    EXPECT_EQ(told.first(), LoadText(653));   // the scripted device holds no sound
    EXPECT_TRUE(QFile::exists(dir.file("Radio_from_2026-12-08_14.00.13_to_2026-12-08_14.00.15.wav")));
}

TEST_F(Session, StatisticsOfAProgrammedRecordingDoNotPileUpWhenTheDeviceFails)
{
    programme();
    session.Tick();
    const QString first = session.view().statistics;
    device->Fail("set capture time format ms");
    session.Tick();
    session.Tick();
    EXPECT_EQ(session.view().statistics, first);
}

TEST_F(Session, PastStartAndInvalidTimesAreAnswered)
{
    session.Load();
    session.StartTimeAnswered("yesterday at noon");
    session.StartTimeAnswered("2026-12-08 09:00");
    session.StopTimeAnswered("2026-12-08 14:01");
    EXPECT_EQ(told, (QStringList{"The time you entered was not valid!", "Recording events in the past is not possible...",
                                 "The stop time has to be later then the start time!"}));
    EXPECT_EQ(wave.StartTime, now.addSecs(900));
    EXPECT_EQ(wave.StopTime, now.addSecs(1200));
    EXPECT_EQ(session.StartTimeOffered(), "2026-12-08 14:15:00");
}

TEST_F(Session, TheAnalyserGetsTheSavedRecordingWhileTheDeviceIsClosed)
{
    session.Load();
    session.Record();
    EXPECT_TRUE(session.SaveNeededBeforeAnalyser());
    session.Stop();
    session.SaveAs(dir.file("for analyser.wav"));
    EXPECT_TRUE(session.Saved);
    sent();
    QStringList during;
    EXPECT_TRUE(session.HandToAnalyser([&](const QString& path) {
        during = sent();
        EXPECT_EQ(path, dir.file("for analyser.wav"));
        EXPECT_TRUE(QFile::exists(path));
    }));
    EXPECT_EQ(during, QStringList{"close capture"});
    EXPECT_EQ(sent(), (QStringList{"close all", "open new type waveaudio alias capture"}));

    session.Reset();
    EXPECT_FALSE(session.Saved);
    EXPECT_FALSE(session.HandToAnalyser([](const QString&) { ADD_FAILURE() << "nothing saved"; }));
}

TEST_F(Session, ClosingEndsARunningRecordingAndTheCheck)
{
    session.Load();
    session.Record();
    session.Close();
    EXPECT_TRUE(sent().contains("close capture"));
    EXPECT_FALSE(wave.Recording);
    EXPECT_FALSE(session.view().checking);
}

// A recording is unsaved from its start until a save succeeds (through the dialog or
// automatically); Reset and Setting give it up; closing takes it with the device, and the window
// shown again tells of its new device: stopped, and no statistics of the recording gone.
TEST_F(Session, ARecordingIsUnsavedUntilASaveSucceeds)
{
    session.Load();
    EXPECT_FALSE(session.HoldsUnsavedRecording());
    session.Record();
    EXPECT_TRUE(session.HoldsUnsavedRecording());
    session.Stop();
    EXPECT_TRUE(session.HoldsUnsavedRecording());
    device->Fail("save capture " + dir.file("a.wav"));
    session.SaveAs(dir.file("a.wav"));
    EXPECT_TRUE(session.HoldsUnsavedRecording());
    session.SaveAs(dir.file("b.wav"));
    EXPECT_FALSE(session.HoldsUnsavedRecording());

    for (const auto& giveUp : {std::function<void()>([&] { session.Reset(); }),
                               std::function<void()>([&] { session.Settings({}); })}) {
        session.Record();
        ASSERT_TRUE(session.HoldsUnsavedRecording());
        giveUp();
        EXPECT_FALSE(session.HoldsUnsavedRecording());
    }

    session.Record();
    session.audiostatistics();
    EXPECT_EQ(session.view().title, "KIVRA Recorder: recording");
    session.Close();
    EXPECT_FALSE(session.HoldsUnsavedRecording());
    ASSERT_TRUE(session.view().statistics.startsWith("Recorded audio duration"));
    session.Shown();
    EXPECT_EQ(session.view().title, "KIVRA Recorder: stopped");
    EXPECT_EQ(session.view().statistics, "");

    programme();
    now = now.addSecs(11);
    session.Tick();
    ASSERT_TRUE(wave.Recording);
    EXPECT_TRUE(session.HoldsUnsavedRecording());
    now = now.addSecs(10);
    session.Tick();
    ASSERT_TRUE(wave.RecordingFinished);
    EXPECT_FALSE(session.HoldsUnsavedRecording());   // saved by itself
}

// Closing the window in any state ends the check: no tick asks the closed device, and a second
// close (KIVRA quitting) tells nothing. Showing the window again brings a new device, armed as
// the options say.
TEST_F(Session, ClosingInEveryStateEndsTheCheckAndTellsNothing)
{
    enum class State { Idle, Waiting, Recording, Playing };
    for (State state : {State::Idle, State::Waiting, State::Recording, State::Playing}) {
        SCOPED_TRACE(int(state));
        session.Load();
        if (state == State::Waiting) programme();
        if (state == State::Recording) session.Record();
        if (state == State::Playing) {
            session.Record();
            session.Stop();
            session.Play();
        }
        told.clear();
        sent();
        session.Close();
        EXPECT_EQ(sent(), QStringList{"close capture"});
        EXPECT_FALSE(session.view().checking);
        now = now.addSecs(30);   // past a programmed start and stop
        for (int tick = 0; tick < 4; ++tick) session.Tick();
        session.Close();
        EXPECT_TRUE(sent().isEmpty());
        EXPECT_TRUE(told.isEmpty()) << qPrintable(told.join(" | "));

        session.Shown();
        EXPECT_EQ(sent().mid(0, 2), (QStringList{"close all", "open new type waveaudio alias capture"}));
        EXPECT_EQ(session.view().checking, state == State::Waiting);
        EXPECT_FALSE(session.view().canPlay || session.view().canSave);
        session.Shown();   // shown while open: nothing happens
        EXPECT_TRUE(sent().isEmpty());
        session.Close();
        now = now.addSecs(-30);
    }
}

// A periodic refresh that fails tells its messages once, not at every tick; the schedule still
// keeps its time.
TEST_F(Session, AFailingRefreshIsToldOnceAndTheScheduleGoesOn)
{
    programme();
    device->Fail("set capture time format ms");
    device->Fail("status capture mode");
    for (int tick = 0; tick < 6; ++tick) session.Tick();
    EXPECT_EQ(told, (QStringList{LoadText(633), LoadText(627)}));
    now = now.addSecs(11);
    session.Tick();
    EXPECT_TRUE(sent().contains("record capture"));
    EXPECT_TRUE(wave.Recording);
    for (int tick = 0; tick < 6; ++tick) session.Tick();
    EXPECT_EQ(told.count(LoadText(633)), 2);   // once more for the new recording, no more
    now = now.addSecs(10);
    session.Tick();
    EXPECT_FALSE(wave.Recording);
    EXPECT_TRUE(wave.RecordingFinished);
}

// A programmed recording chosen after a manual one cannot start while that recording is kept:
// the view says so, the times shown are the ones typed, nothing is thrown away; Reset arms it.
TEST_F(Session, AProgrammedRecordingAfterAManualOneSaysWhatArmsIt)
{
    session.Load();
    session.Record();
    now = now.addSecs(3);
    session.Stop();
    sent();
    session.ChooseProgrammed();
    session.StartTimeAnswered(general::DateText(now.addSecs(60)));
    session.StopTimeAnswered(general::DateText(now.addSecs(120)));
    EXPECT_EQ(session.view().times, TimesText(now.addSecs(60), now.addSecs(120)));
    EXPECT_TRUE(session.view().scheduleBlocked);
    EXPECT_TRUE(session.view().statistics.endsWith(LoadText(663)));
    EXPECT_NE(session.view().statistics.indexOf(general::DateText(now.addSecs(60))), -1);
    EXPECT_FALSE(session.view().checking);
    EXPECT_TRUE(session.view().canSave);
    const QStringList meanwhile = sent();
    EXPECT_FALSE(meanwhile.contains("close all")) << qPrintable(meanwhile.join(" | "));

    session.Reset();
    EXPECT_FALSE(session.view().scheduleBlocked);
    EXPECT_EQ(session.view().statistics.indexOf(LoadText(663)), -1);
    EXPECT_TRUE(session.view().programmedChosen);
    EXPECT_FALSE(session.view().canRecord);
    EXPECT_TRUE(session.view().checking);
    now = now.addSecs(61);
    sent();
    session.Tick();
    EXPECT_TRUE(sent().endsWith("record capture"));
}

// A lost input device: the message says how much was kept, or that nothing was.
TEST_F(Session, ALostDeviceTellsWhatWasKept)
{
    EXPECT_EQ(RecorderSession::HaltedText(MediaControl::Halt::InputLost, 2400),
              "The recording stopped: the sound input device was lost. 2.4 s recorded until the device was lost are kept.");
    EXPECT_EQ(RecorderSession::HaltedText(MediaControl::Halt::InputLost, 30), LoadText(652).arg("0.1"));
    EXPECT_EQ(RecorderSession::HaltedText(MediaControl::Halt::InputLost, 0), LoadText(653));
    EXPECT_EQ(RecorderSession::HaltedText(MediaControl::Halt::DiskFull, 0), LoadText(594));

    session.Load();
    session.Record();
    told.clear();
    device->Reply("status capture length", "2400");
    session.Halted(MediaControl::Halt::InputLost);
    EXPECT_EQ(told, QStringList{RecorderSession::HaltedText(MediaControl::Halt::InputLost, 2400) + "\n" +
                                LoadText(592)});
    EXPECT_TRUE(session.view().canSave);

    session.Record();
    told.clear();
    device->Reply("status capture length", "0");
    session.Halted(MediaControl::Halt::InputLost);
    EXPECT_EQ(told, QStringList{LoadText(653)});
}

// In Chinese the statistics speak Chinese, from the text table.
TEST_F(Session, TheStatisticsFollowTheInterfaceLanguage)
{
    text::SetLanguage(text::Language::ChineseTraditional);
    session.Load();
    session.Record();
    session.Stop();
    const QString shown = session.view().statistics;
    EXPECT_TRUE(shown.startsWith(LoadText(629))) << qPrintable(shown);
    for (const char* english : {"sec", "Bytes", "Mono", "bits", "sampling"})
        EXPECT_FALSE(shown.contains(english)) << english << " in " << qPrintable(shown);
    EXPECT_TRUE(shown.contains(LoadText(401)));
    EXPECT_EQ(session.view().title, QString::fromUtf8("KIVRA 錄音機: 已停止"));
    EXPECT_TRUE(session.view().canPlay);   // the "stopped" check holds in every language
}
