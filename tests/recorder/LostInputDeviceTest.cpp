// A recording whose sound server goes away in the middle: this process runs a PulseAudio server
// of its own (the server of the other tests stays up) and stops it while the recorder records.
// The input is asked for small blocks, so the device's loss costs at most the block on its way.
// The message says how much was kept, and Save writes exactly that.
#include "recorder/RecordingChecks.h"
#include "recorder/RecordingDevice.h"
#include "recorder/frmSettings.h"
#include "recorder/modWave.h"
#include "recorder/mci/MediaControl.h"
#include "support/FakeFrame.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "text/LoadText.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <gtest/gtest.h>

namespace {
void Click(QWidget* window, const char* name)
{
    auto* button = window->findChild<QPushButton*>(name);
    ASSERT_TRUE(button && button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}
}

TEST(LostInputDevice, TheMessageSaysHowMuchWasKeptAndTheSaveHoldsIt)
{
    if (!ToolAvailable("pulseaudio") || !ToolAvailable("pactl")) GTEST_SKIP() << "no PulseAudio";
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    qputenv("PULSE_RUNTIME_PATH", (runtime.path() + "/pulse").toLocal8Bit());
    qunsetenv("PULSE_SERVER");
    ASSERT_EQ(RunTool("pulseaudio", {"--daemonize=yes", "--exit-idle-time=-1", "-n",
                                     "--load=module-native-protocol-unix",
                                     "--load=module-null-sink sink_name=tone",
                                     "--load=module-sine sink=tone frequency=440",
                                     "--load=module-remap-source master=tone.monitor source_name=mic"})
                  .exitCode,
              0);
    ASSERT_TRUE(QTest::qWaitFor([] { return RunTool("pactl", {"info"}).exitCode == 0; }, 10000));
    // A 440 Hz tone through a sink's monitor, remapped into an ordinary source: it hands out its
    // sound in the blocks its listener asks for, as a microphone does (the sine source of the
    // other tests has blocks of 2 s).
    RunTool("pactl", {"set-default-source", "mic"});
    ASSERT_FALSE(QMediaDevices::defaultAudioInput().isNull());
    WarmUpAudioInput();

    text::SetLanguage(text::Language::English);
    TempDir dir;
    FakeFrame frame;
    ScopedScriptedPrompts prompts;
    InstallRecordingDevice();
    {
        frmSettings window;
        window.show();
        Click(&window, "cmdRecord");
        // What the device holds, asked in one go (the window's refresh changes the time format).
        auto held = [] {
            QString reply;
            MediaControl::Current().SendString("set capture time format ms");
            MediaControl::Current().SendString("status capture length", reply);
            return reply.toLongLong();
        };
        // From the first sound on, the device holds the time since, less one block at most.
        ASSERT_TRUE(QTest::qWaitFor([&] { return held() > 0; }, 15000));
        QElapsedTimer sinceSound;
        sinceSound.start();
        const double first = held() / 1000.0;
        ASSERT_TRUE(QTest::qWaitFor([&] { return held() >= 1500; }, 15000));
        const double heard = held() / 1000.0;
        const double recordedFor = first + sinceSound.elapsed() / 1000.0;
        ASSERT_EQ(RunTool("pulseaudio", {"--kill"}).exitCode, 0);

        ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts->messages().isEmpty(); }, 20000));
        const QString told = prompts->messages().first();
        const QRegularExpressionMatch kept =
            QRegularExpression("device was lost\\. ([0-9.]+) s recorded until the device was lost").match(told);
        ASSERT_TRUE(kept.hasMatch()) << qPrintable(told);
        const double seconds = kept.captured(1).toDouble();
        // Small blocks from the server: little more than one block is lost with the device.
        EXPECT_GE(seconds, heard - 0.05) << qPrintable(told);
        EXPECT_GE(seconds, recordedFor - 0.35) << qPrintable(told) << " after " << recordedFor << " s";
        std::printf("recorded for %.2f s, %.2f s heard, %.2f s kept\n", recordedFor, heard, seconds);
        EXPECT_TRUE(window.findChild<QPushButton*>("cmdSave")->isEnabled());

        prompts->QueueFile(dir.file("lost.wav"));
        Click(&window, "cmdSave");
        const SoxFormat f = ReadWithSox(dir.file("lost.wav"));
        ASSERT_TRUE(f.read);
        EXPECT_NEAR(f.seconds, seconds, 0.06);
        window.close();
    }
    MediaControl::Install(nullptr);
}
