// The recording engine on a scripted device: every command string it sends, every message it
// tells, the names it saves under.
#include "platform/system/TemporaryFiles.h"
#include "recorder/modWave.h"
#include "support/ScriptedMediaControl.h"
#include "support/TempDir.h"
#include "text/LoadText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class Engine : public ::testing::Test {
protected:
    void SetUp() override
    {
        text::SetLanguage(text::Language::English);
        wave.tell = [this](const Outcome& m) {
            told << m.message;
            outcomes << m;
        };
    }

    // The commands sent since the last call.
    QStringList sent()
    {
        QStringList c = device->commands;
        device->commands.clear();
        return c;
    }

    ScopedScriptedMediaControl device;
    modWave wave;
    QStringList told;
    QList<Outcome> outcomes;
    TempDir dir;
};

void Touch(const QString& path, const QByteArray& content = "old")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray Content(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST_F(Engine, OpenAndFormatCommands)
{
    wave.OpenCapture();
    EXPECT_EQ(sent(), (QStringList{"close all", "open new type waveaudio alias capture"}));

    wave.SampleRate = 44100;
    wave.Channels = 2;
    wave.BitsPerSample = 16;
    wave.SetFormat();
    EXPECT_EQ(sent(), (QStringList{"seek capture to start",
                                   "set capture alignment 4 bitspersample 16 samplespersec 44100 channels 2 bytespersec 176400"}));
    wave.SampleRate = 6000;
    wave.Channels = 1;
    wave.BitsPerSample = 8;
    wave.SetFormat();
    EXPECT_EQ(sent().last(), "set capture alignment 1 bitspersample 8 samplespersec 6000 channels 1 bytespersec 6000");
    EXPECT_TRUE(told.isEmpty());
}

TEST_F(Engine, EachFailureIsToldAndTheNextCommandStillGoes)
{
    device->Fail("close all");
    device->Fail("open new type waveaudio alias capture");
    device->Fail("seek capture to start");
    device->Fail("set capture alignment 2 bitspersample 16 samplespersec 11025 channels 1 bytespersec 22050");
    wave.OpenCapture();
    wave.SetFormat();
    EXPECT_EQ(sent().size(), 4);
    EXPECT_EQ(told, (QStringList{"Closing all MCI operations failed!", "Opening new wave failed!",
                                 "seek capture to start - Error", "Settings for recording not consistent"}));
    // Shown as failures without an icon, under the program's name; the device's error in words.
    const Outcome& open = outcomes.at(1);
    EXPECT_FALSE(open.ok);
    EXPECT_EQ(open.icon(), MsgIcon::None);
    EXPECT_EQ(open.title, QCoreApplication::applicationName());
    EXPECT_TRUE(open.detail.startsWith("open new type waveaudio alias capture: ")) << qPrintable(open.detail);

    device->Succeed("open new type waveaudio alias capture");
    wave.OpenCapture();   // an open element, whose close can fail
    told.clear();
    for (const char* c : {"record capture", "stop capture", "play capture from 0", "close capture"}) device->Fail(c);
    wave.StartRecording();
    wave.StopRecording();
    wave.PlayRecording();
    wave.CloseCapture();
    EXPECT_EQ(told, (QStringList{"Recording not possible, please restart your computer...",
                                 "Stopping recording failed!", "Start playing failed!", "Closing MCI failed!"}));
}

TEST_F(Engine, WithoutMidiOnlyTheWaveIsRecordedAndStopped)
{
    wave.StartRecording();
    wave.StopRecording();
    EXPECT_EQ(sent(), (QStringList{"record capture", "stop capture"}));
}

TEST_F(Engine, AMidiFilePlaysJustBeforeRecordingAndIsAnnouncedInManualMode)
{
    wave.MidiFileName = "/music/tune.mid";
    wave.StartRecording();
    EXPECT_EQ(sent(), (QStringList{"open /music/tune.mid type sequencer alias midi", "play midi", "record capture"}));
    EXPECT_EQ(told, QStringList{"Midi file/music/tune.mid will be recorded"});
    wave.StopRecording();
    EXPECT_EQ(sent(), (QStringList{"stop capture", "stop midi"}));

    told.clear();
    wave.ManualMode = false;   // a programmed recording announces nothing
    device->Fail("open /music/tune.mid type sequencer alias midi");
    device->Fail("play midi");
    device->Fail("stop midi");
    wave.StartRecording();
    wave.StopRecording();
    EXPECT_EQ(told, (QStringList{"Opening midi file failed!", "Playing midi file failed!",
                                 "Stopping playing midi file failed!"}));
}

TEST_F(Engine, ANameWithoutABlankIsSentAsItIsAndReplacesAnOlderFile)
{
    Touch(dir.file("take.wav"));
    EXPECT_TRUE(wave.SaveRecording(dir.file("take.wav")));
    EXPECT_EQ(sent(), QStringList{"save capture " + dir.file("take.wav")});
    EXPECT_EQ(Content(dir.file("take.wav")), ScriptedMediaControl::SavedContent());
    EXPECT_FALSE(wave.RenamePending);

    // A relative name goes unchanged: the device resolves it in the current folder.
    EXPECT_TRUE(wave.SaveRecording("relative.wav"));
    EXPECT_EQ(sent(), QStringList{"save capture relative.wav"});
    QFile::remove("relative.wav");

    device->Fail("save capture " + dir.file("bad.wav"));
    EXPECT_FALSE(wave.SaveRecording(dir.file("bad.wav")));
    EXPECT_EQ(told, QStringList{"Saving file failed, file name was: " + dir.file("bad.wav")});
}

TEST_F(Engine, ANameWithABlankIsWrittenUnderItsAliasAndMovedAtOnce)
{
    const QString first = dir.file("lesson one.wav"), second = dir.file("lesson two.wav");
    Touch(first);
    EXPECT_TRUE(wave.SaveRecording(first));
    const QStringList commands = sent();
    ASSERT_EQ(commands.size(), 1);
    const QString alias = commands[0].mid(QString("save capture ").size());
    EXPECT_FALSE(alias.contains(' '));
    EXPECT_TRUE(alias.startsWith(platform::ScratchFolder()));
    EXPECT_FALSE(QFile::exists(alias));
    EXPECT_EQ(Content(first), ScriptedMediaControl::SavedContent());
    EXPECT_FALSE(wave.RenamePending);
    EXPECT_TRUE(wave.ShortSaveName.isEmpty());
    EXPECT_EQ(wave.LongSaveName, first);

    // A second such save before Reset or Close: both recordings have their own names.
    EXPECT_TRUE(wave.SaveRecording(second));
    EXPECT_TRUE(QFile::exists(first));
    EXPECT_TRUE(QFile::exists(second));
    EXPECT_TRUE(told.isEmpty());
}

TEST_F(Engine, AFailedMoveTellsWhereTheRecordingLiesAndIsTriedAgain)
{
    const QString folder = dir.file("not yet");
    const QString name = folder + "/class test.wav";
    EXPECT_TRUE(wave.SaveRecording(name));
    ASSERT_TRUE(wave.RenamePending);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(LoadText(598)));
    EXPECT_TRUE(told[0].endsWith(wave.ShortSaveName));
    EXPECT_EQ(Content(wave.ShortSaveName), ScriptedMediaControl::SavedContent());

    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(wave.MovePendingSave());
    EXPECT_FALSE(wave.RenamePending);
    EXPECT_EQ(Content(name), ScriptedMediaControl::SavedContent());
}

TEST_F(Engine, ModeAndStatisticsComeFromTheStatusReplies)
{
    device->Reply("status capture mode", "recording");
    wave.QueryMode();
    EXPECT_EQ(wave.StatusText, "KIVRA Recorder: recording");
    device->Reply("status capture mode", QString(300, 'x'));
    wave.QueryMode();
    EXPECT_EQ(wave.StatusText.size(), 255);
    device->Fail("status capture mode");
    wave.QueryMode();
    EXPECT_EQ(wave.StatusText, "KIVRA Recorder: ");
    EXPECT_EQ(told, QStringList{"Failure getting wave status..."});
    sent();

    told.clear();
    device->QueueReply("status capture length", "5200");
    device->QueueReply("status capture length", "114688");
    device->Reply("status capture channels", "1");
    device->Reply("status capture bitspersample", "16");
    device->Reply("status capture samplespersec", "11025");
    wave.QueryStatistics();
    EXPECT_EQ(sent(), (QStringList{"set capture time format ms", "status capture length",
                                   "set capture time format bytes", "status capture length",
                                   "status capture channels", "status capture bitspersample",
                                   "status capture samplespersec"}));
    EXPECT_EQ(wave.StatisticsText, "Recorded audio duration:5.2 sec  (112 kBytes)\r\n"
                                   "Mono @ 16 bits  at sampling rate of 11025 Hz\r\n");
    EXPECT_TRUE(told.isEmpty());
}

TEST_F(Engine, FailedStatisticsQueriesAreToldAndTheTextIsBuiltOn)
{
    wave.StatisticsText = "earlier";
    device->Fail("set capture time format ms");
    wave.QueryStatistics();
    EXPECT_EQ(sent(), QStringList{"set capture time format ms"});
    EXPECT_EQ(wave.StatisticsText, "earlier");
    EXPECT_EQ(told, QStringList{"Setting format in milliseconds failed!"});

    told.clear();
    device->Succeed("set capture time format ms");
    device->Fail("set capture time format bytes");
    device->Fail("status capture channels");
    device->Fail("status capture bitspersample");
    device->Fail("status capture samplespersec");
    device->Reply("status capture length", "1500");
    wave.QueryStatistics();
    EXPECT_EQ(sent().count("status capture length"), 1);   // no byte length without the byte format
    EXPECT_EQ(told, (QStringList{"Setting time format in bytes failed!", "Finding number of channels failed!",
                                 "Finding resolution failed!", "Finding sample rate failed!"}));
    EXPECT_EQ(wave.StatisticsText, "Recorded audio duration:1.5 sec  (? Bytes)\r\n? bits  at sampling rate of ? Hz\r\n");

    told.clear();
    device->Succeed("set capture time format bytes");
    device->Fail("status capture length");
    wave.QueryStatistics();
    EXPECT_EQ(told.mid(0, 2), (QStringList{"Finding length recording in milliseconds failed!",
                                           "Finding audio duration in bytes failed!"}));
}

TEST_F(Engine, ShortNamesAreBlankFreeAndNameTheSameFile)
{
    EXPECT_TRUE(modWave::HasSpace("a b"));
    EXPECT_FALSE(modWave::HasSpace("a\tb"));
    EXPECT_EQ(modWave::GetShortName("/music/tune.mid"), "/music/tune.mid");

    const QString existing = dir.file("my tune.mid");
    Touch(existing, "MThd");
    const QString link = modWave::GetShortName(existing);
    EXPECT_FALSE(link.contains(' '));
    EXPECT_TRUE(link.endsWith(".mid"));
    EXPECT_EQ(QFileInfo(link).canonicalFilePath(), QFileInfo(existing).canonicalFilePath());
    EXPECT_EQ(Content(link), "MThd");

    const QString fresh = modWave::GetShortName(dir.file("new take.wav"));
    EXPECT_FALSE(fresh.contains(' '));
    EXPECT_FALSE(QFileInfo::exists(fresh));
    EXPECT_NE(fresh, modWave::GetShortName(dir.file("new take.wav")));
    EXPECT_TRUE(modWave::FileExists(existing));
    EXPECT_FALSE(modWave::FileExists(dir.file("new take.wav")));
    EXPECT_FALSE(modWave::FileExists(""));
}

// Closing a device that is closed already (the window closed with OK, then KIVRA quits) is not
// an error: nothing is sent, nothing told.
TEST_F(Engine, AClosedElementIsClosedOnce)
{
    wave.CloseCapture();
    EXPECT_TRUE(sent().isEmpty());
    wave.OpenCapture();
    sent();
    wave.CloseCapture();
    wave.CloseCapture();
    EXPECT_EQ(sent(), QStringList{"close capture"});
    EXPECT_TRUE(told.isEmpty());
    // An element that did not open is not closed either.
    device->Fail("open new type waveaudio alias capture");
    wave.OpenCapture();
    told.clear();
    sent();
    wave.CloseCapture();
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_TRUE(told.isEmpty());
}

// The announcement of the MIDI file is answered before anything of the recording starts; a
// SoundFont that is missing is named in the message.
TEST_F(Engine, TheMidiAnnouncementComesBeforeTheRecordingAndAMissingSoundFontIsNamed)
{
    wave.MidiFileName = "/music/tune.mid";
    QStringList sentBeforeAnswer;
    wave.announce = [&](const Outcome& m) {
        told << m.message;
        sentBeforeAnswer = device->commands;
    };
    sent();
    wave.StartRecording();
    EXPECT_TRUE(sentBeforeAnswer.isEmpty());
    EXPECT_EQ(sent(), (QStringList{"open /music/tune.mid type sequencer alias midi", "play midi", "record capture"}));

    told.clear();
    device->Fail("open /music/tune.mid type sequencer alias midi", MediaControl::NoSoundFont);
    device->Fail("play midi", MediaControl::UnknownAlias);
    wave.ManualMode = false;   // programmed: no announcement
    wave.StartRecording();
    EXPECT_EQ(told, (QStringList{LoadText(664), "Playing midi file failed!"}));
    EXPECT_TRUE(told[0].contains("SoundFont"));

    told.clear();
    device->Fail("open /music/tune.mid type sequencer alias midi", MediaControl::CannotReadMidi);
    device->Succeed("play midi");
    wave.StartRecording();
    EXPECT_EQ(told, QStringList{"Opening midi file failed!\n" + LoadText(666) + "/music/tune.mid"});
    device->Succeed("open /music/tune.mid type sequencer alias midi");
    device->Fail("play midi", MediaControl::NoSynthesiser);
    told.clear();
    wave.StartRecording();
    EXPECT_EQ(told, QStringList{LoadText(665)});
}

// The title names KIVRA's recorder and the mode in the interface language; the device's own
// word is kept for the checks.
TEST_F(Engine, TheTitleSpeaksTheInterfaceLanguage)
{
    device->Reply("status capture mode", "stopped");
    wave.QueryMode();
    EXPECT_EQ(wave.StatusText, "KIVRA Recorder: stopped");
    text::SetLanguage(text::Language::ChineseTraditional);
    wave.QueryMode();
    EXPECT_EQ(wave.StatusText, QString::fromUtf8("KIVRA 錄音機: 已停止"));
    EXPECT_EQ(wave.Mode, "stopped");
    text::SetLanguage(text::Language::ChineseSimplified);
    device->Reply("status capture mode", "recording");
    wave.QueryMode();
    EXPECT_EQ(wave.StatusText, QString::fromUtf8("KIVRA 录音机: 录音中"));
}
