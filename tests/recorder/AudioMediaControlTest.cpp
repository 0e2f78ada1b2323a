// The media-control interpreter on the real audio stack: the test PulseAudio server's sine source
// (440 Hz) records, the null sink plays. Recordings are checked with sox and KIVRA's own FFT.
#include "recorder/mci/AudioMediaControl.h"
#include "recorder/mci/MediaControl.h"
#include "recorder/RecordingChecks.h"
#include "recorder/RecordingDevice.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "support/TimeScale.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AudioDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QMediaDevices::defaultAudioInput().isNull())
            GTEST_SKIP() << "no audio input: run under scripts/start-audio.sh";
        WarmUpAudioInput();
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override
    {
        if (!previousFolder_.isEmpty()) QDir::setCurrent(previousFolder_);
    }

    int send(const QString& command)
    {
        QString reply;
        return device.SendString(command, reply);
    }
    QString ask(const QString& command)
    {
        QString reply;
        EXPECT_EQ(device.SendString(command, reply), 0) << qPrintable(command);
        return reply;
    }
    void startRecording(int rate, int channels, int bits)
    {
        for (const QString& c : RecordCommands(rate, channels, bits))
            ASSERT_EQ(send(c), 0) << qPrintable(c);
        sinceRecord.start();
    }
    // Waits until the device holds `ms` milliseconds of sound. The test source hands out its
    // sound in blocks of two seconds, so more may come, and on a busy machine later.
    bool recordFor(int ms)
    {
        return QTest::qWaitFor([&] { return ask("status capture length").toLongLong() >= ms; }, Slack(20000));
    }
    // Stops the recording; the seconds between Record and Stop, which the recording must hold.
    double stop()
    {
        const double seconds = sinceRecord.elapsed() / 1000.0;
        EXPECT_EQ(send("stop capture"), 0);
        return seconds;
    }

    QElapsedTimer sinceRecord;

    TempDir dir;
    AudioMediaControl device;
    QString previousFolder_;
};

} // namespace

TEST_F(AudioDevice, TwoSecondsMono16BitSaveA440HzWave)
{
    startRecording(11025, 1, 16);
    EXPECT_EQ(ask("status capture mode"), "recording");
    ASSERT_TRUE(recordFor(1950));
    const double recorded = stop();
    EXPECT_EQ(ask("status capture mode"), "stopped");
    ASSERT_EQ(send("save capture take.wav"), 0);   // a relative name lands in the current folder

    const SoxFormat f = ReadWithSox(dir.file("take.wav"));
    ASSERT_TRUE(f.read);
    EXPECT_EQ(f.rate, 11025);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.bits, 16);
    EXPECT_NEAR(f.seconds, recorded, 0.3);
    const std::vector<Peak> peaks = StrongestPeaks(dir.file("take.wav"), 1);
    ASSERT_EQ(peaks.size(), 1u);
    EXPECT_NEAR(peaks[0].frequency, 440, 3);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.tmp", "*.wav.*"}, QDir::Files), QStringList());
}

TEST_F(AudioDevice, TwoSecondsStereo8BitAt22050Hz)
{
    startRecording(22050, 2, 8);
    ASSERT_TRUE(recordFor(1950));
    const double recorded = stop();
    // The replies describe what was recorded.
    EXPECT_EQ(ask("status capture channels"), "2");
    EXPECT_EQ(ask("status capture bitspersample"), "8");
    EXPECT_EQ(ask("status capture samplespersec"), "22050");
    ASSERT_EQ(send("set capture time format bytes"), 0);
    const qint64 bytes = ask("status capture length").toLongLong();
    ASSERT_EQ(send("set capture time format ms"), 0);
    EXPECT_EQ(ask("status capture length").toLongLong(), bytes * 1000 / (22050 * 2));
    ASSERT_EQ(send("save capture " + dir.file("stereo.wav")), 0);

    const SoxFormat f = ReadWithSox(dir.file("stereo.wav"));
    ASSERT_TRUE(f.read);
    EXPECT_EQ(f.rate, 22050);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.bits, 8);
    EXPECT_NEAR(f.seconds, recorded, 0.3);
    EXPECT_EQ(QFile(dir.file("stereo.wav")).size(), 44 + bytes);
    const std::vector<Peak> peaks = StrongestPeaks(dir.file("stereo.wav"), 1);
    ASSERT_EQ(peaks.size(), 1u);
    EXPECT_NEAR(peaks[0].frequency, 440, 3);
}

TEST_F(AudioDevice, MidiFilePlayedWhileRecordingIsMixedIn)
{
    ASSERT_TRUE(WriteMidiNotes(dir.file("a5.mid"), 81, 6, 500));   // A5: 880 Hz
    for (const QString& c : RecordCommands(22050, 1, 16).mid(0, 4)) ASSERT_EQ(send(c), 0);
    ASSERT_EQ(send("open " + dir.file("a5.mid") + " type sequencer alias midi"), 0);
    ASSERT_EQ(send("play midi"), 0);
    EXPECT_EQ(ask("status midi mode"), "playing");
    ASSERT_EQ(send("record capture"), 0);
    ASSERT_TRUE(recordFor(1950));
    ASSERT_EQ(send("stop capture"), 0);
    ASSERT_EQ(send("stop midi"), 0);
    EXPECT_EQ(ask("status midi mode"), "stopped");
    ASSERT_EQ(send("save capture with-midi.wav"), 0);

    const std::vector<Peak> peaks = StrongestPeaks(dir.file("with-midi.wav"), 2);
    ASSERT_EQ(peaks.size(), 2u);
    std::vector<double> found{peaks[0].frequency, peaks[1].frequency};
    std::sort(found.begin(), found.end());
    EXPECT_NEAR(found[0], 440, 4);
    EXPECT_NEAR(found[1], 880, 4);
}

TEST_F(AudioDevice, StopKeepsTheTimeFromRecordToStop)
{
    // The test source delivers its sound in blocks of two seconds: a stop after 1.3 s waits for
    // the block on its way and keeps the 1.3 s.
    startRecording(11025, 1, 16);
    QElapsedTimer recorded;
    recorded.start();
    QTest::qWait(1300);
    const double seconds = recorded.elapsed() / 1000.0;
    ASSERT_EQ(send("stop capture"), 0);
    ASSERT_EQ(send("save capture timed.wav"), 0);
    EXPECT_NEAR(ReadWithSox(dir.file("timed.wav")).seconds, seconds, 0.15);
}

TEST_F(AudioDevice, FormatsMustAgreeAndStayWithinTheRange)
{
    ASSERT_EQ(send("open new type waveaudio alias capture"), 0);
    EXPECT_EQ(send("open new type waveaudio alias capture"), MediaControl::AliasInUse);
    EXPECT_EQ(send("set capture alignment 4 bitspersample 16 samplespersec 44100 channels 2 bytespersec 176400"), 0);
    EXPECT_EQ(send("set capture alignment 1 bitspersample 8 samplespersec 6000 channels 1 bytespersec 6000"), 0);
    EXPECT_EQ(ask("status capture samplespersec"), "6000");
    // Alignment or byte rate that do not follow from the rest, out-of-range values.
    for (const char* bad : {"set capture alignment 2 bitspersample 8 samplespersec 6000 channels 1 bytespersec 6000",
                            "set capture alignment 1 bitspersample 8 samplespersec 6000 channels 1 bytespersec 6001",
                            "set capture alignment 1 bitspersample 8 samplespersec 5999 channels 1 bytespersec 5999",
                            "set capture alignment 1 bitspersample 8 samplespersec 48000 channels 1 bytespersec 48000",
                            "set capture alignment 3 bitspersample 24 samplespersec 8000 channels 1 bytespersec 24000",
                            "set capture alignment 3 bitspersample 8 samplespersec 8000 channels 3 bytespersec 24000"})
        EXPECT_EQ(send(bad), MediaControl::BadFormat) << bad;
    // A failed set leaves the format as it was.
    EXPECT_EQ(ask("status capture samplespersec"), "6000");
    EXPECT_EQ(ask("status capture bitspersample"), "8");
    EXPECT_EQ(send("set capture samplespersec 8000"), 0);   // the rest follows
    EXPECT_EQ(ask("status capture samplespersec"), "8000");

    EXPECT_EQ(send("record nothing"), MediaControl::UnknownAlias);
    EXPECT_EQ(send("status capture volume"), MediaControl::BadCommand);
    EXPECT_EQ(send("close capture"), 0);
    EXPECT_EQ(send("close capture"), MediaControl::UnknownAlias);
    EXPECT_EQ(send("status capture mode"), MediaControl::UnknownAlias);
}

TEST_F(AudioDevice, AnEmptyElementSavesAnEmptyWaveAndPlaysNothing)
{
    ASSERT_EQ(send("open new type waveaudio alias capture"), 0);
    ASSERT_EQ(send("set capture alignment 2 bitspersample 16 samplespersec 8000 channels 1 bytespersec 16000"), 0);
    EXPECT_EQ(ask("status capture length"), "0");
    EXPECT_EQ(send("play capture from 0"), 0);
    EXPECT_EQ(ask("status capture mode"), "stopped");
    ASSERT_EQ(send("save capture \"empty take.wav\""), 0);   // a quoted name may hold a blank
    const SoxFormat f = ReadWithSox(dir.file("empty take.wav"));
    ASSERT_TRUE(f.read);
    EXPECT_EQ(f.rate, 8000);
    EXPECT_EQ(f.seconds, 0.0);
}

TEST_F(AudioDevice, PlaybackRunsToTheEndOfTheRecording)
{
    startRecording(8000, 1, 8);
    ASSERT_TRUE(recordFor(500));
    ASSERT_EQ(send("stop capture"), 0);
    EXPECT_EQ(send("save capture " + dir.path() + "/no/such/folder/x.wav"), MediaControl::CannotWrite);
    ASSERT_EQ(send("play capture from 0"), 0);
    EXPECT_EQ(ask("status capture mode"), "playing");
    EXPECT_EQ(send("save capture busy.wav"), 0);   // saving while playing is fine
    EXPECT_TRUE(QTest::qWaitFor([&] { return ask("status capture mode") == "stopped"; }, Slack(10000)));

    // Recording again stops a playback and starts afresh.
    ASSERT_EQ(send("play capture from 0"), 0);
    ASSERT_EQ(send("record capture"), 0);
    EXPECT_EQ(ask("status capture mode"), "recording");
    EXPECT_EQ(send("play capture from 0"), MediaControl::Busy);
    EXPECT_EQ(send("save capture busy.wav"), MediaControl::Busy);
    ASSERT_EQ(send("seek capture to start"), 0);
    EXPECT_EQ(ask("status capture mode"), "stopped");
}

TEST_F(AudioDevice, MidiOpenRefusesWhatIsNotAMidiFile)
{
    QFile text(dir.file("notes.mid"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("these are not notes");
    text.close();
    EXPECT_EQ(send("open " + dir.file("notes.mid") + " type sequencer alias midi"), MediaControl::CannotReadMidi);
    EXPECT_EQ(send("open " + dir.file("missing.mid") + " type sequencer alias midi"), MediaControl::CannotReadMidi);
    EXPECT_EQ(send("play midi"), MediaControl::UnknownAlias);
}

// Without a General MIDI SoundFont a MIDI file cannot sound: the device says so in its own
// error, so the recorder can name what is missing.
TEST_F(AudioDevice, WithoutASoundFontMidiOpensNot)
{
    ASSERT_TRUE(WriteMidiNotes(dir.file("a5.mid"), 81, 2, 200));
    qputenv("KIVRA_SOUNDFONT", "");
    EXPECT_EQ(send("open " + dir.file("a5.mid") + " type sequencer alias midi"), MediaControl::NoSoundFont);
    qputenv("KIVRA_SOUNDFONT", dir.file("none.sf2").toLocal8Bit());
    EXPECT_EQ(send("open " + dir.file("a5.mid") + " type sequencer alias midi"), MediaControl::NoSoundFont);
    qunsetenv("KIVRA_SOUNDFONT");
    EXPECT_EQ(send("open " + dir.file("a5.mid") + " type sequencer alias midi"), 0);
}

TEST_F(AudioDevice, RecordingThatReachesItsLargestSizeStopsWithAValidWave)
{
    device.setLargestRecording(8000);   // one second at 8000 Hz, mono, 8 bits
    QSignalSpy halted(&device, &MediaControl::recordingHalted);
    startRecording(8000, 1, 8);
    ASSERT_TRUE(halted.wait(20000));
    EXPECT_EQ(halted[0][0].toString(), "capture");
    EXPECT_EQ(halted[0][1].value<MediaControl::Halt>(), MediaControl::Halt::SizeLimit);
    EXPECT_EQ(ask("status capture mode"), "stopped");
    ASSERT_EQ(send("save capture limit.wav"), 0);
    const SoxFormat f = ReadWithSox(dir.file("limit.wav"));
    ASSERT_TRUE(f.read);
    EXPECT_EQ(f.frames, 8000);
}

TEST_F(AudioDevice, LostInputStopsTheRecordingAndKeepsWhatCameBefore)
{
    if (!ToolAvailable("pacmd") || !ToolAvailable("pactl")) GTEST_SKIP() << "pacmd missing";
    QSignalSpy halted(&device, &MediaControl::recordingHalted);
    startRecording(11025, 1, 16);
    ASSERT_TRUE(recordFor(1000));
    // The server ends this process's recording stream, as when a USB microphone is pulled out.
    const QString outputs = RunTool("pactl", {"list", "source-outputs"}).output;
    QString index;
    for (const QString& block : outputs.split("Source Output #")) {
        if (block.contains(QString("application.process.id = \"%1\"").arg(QCoreApplication::applicationPid())))
            index = block.section('\n', 0, 0).trimmed();
    }
    ASSERT_FALSE(index.isEmpty()) << qPrintable(outputs);
    ASSERT_EQ(RunTool("pacmd", {"kill-source-output", index}).exitCode, 0);

    ASSERT_TRUE(halted.wait(30000));
    EXPECT_EQ(halted[0][1].value<MediaControl::Halt>(), MediaControl::Halt::InputLost);
    EXPECT_EQ(ask("status capture mode"), "stopped");
    ASSERT_EQ(send("save capture lost.wav"), 0);
    const SoxFormat f = ReadWithSox(dir.file("lost.wav"));
    ASSERT_TRUE(f.read);
    EXPECT_GE(f.seconds, 1.0);
}
