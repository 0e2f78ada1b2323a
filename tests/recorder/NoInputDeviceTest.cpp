// A computer without any sound input: Record tells the user that recording is not possible, and
// the recorder window goes on working. The test process is pointed at an audio server that does
// not exist before anything asks for a device, so it finds none.
#include "recorder/mci/MediaControl.h"
#include "recorder/RecordingDevice.h"
#include "recorder/frmSettings.h"
#include "support/FakeFrame.h"
#include "support/ScriptedPrompts.h"
#include "text/LoadText.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(NoInputDevice, RecordTellsWhyAndTheWindowStaysUsable)
{
    qputenv("PULSE_SERVER", "unix:/nonexistent/kivra-no-audio-server");
    ASSERT_TRUE(QMediaDevices::defaultAudioInput().isNull());
    text::SetLanguage(text::Language::English);
    FakeFrame frame;
    ScopedScriptedPrompts prompts;
    InstallRecordingDevice();
    frmSettings window;
    window.show();
    EXPECT_TRUE(prompts->messages().isEmpty());   // opening and setting the format need no device

    QTest::mouseClick(window.findChild<QPushButton*>("cmdRecord"), Qt::LeftButton);
    EXPECT_EQ(prompts->messages(), QStringList{"Recording not possible, please restart your computer..."});

    prompts->clear();
    auto* stop = window.findChild<QPushButton*>("cmdstop");
    ASSERT_TRUE(stop->isEnabled());
    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_TRUE(window.findChild<QPushButton*>("cmdRecord")->isEnabled());
    EXPECT_EQ(window.windowTitle(), "KIVRA Recorder: stopped");
    QTest::mouseClick(window.findChild<QPushButton*>("cmdreset"), Qt::LeftButton);
    EXPECT_TRUE(prompts->messages().isEmpty());
    MediaControl::Install(nullptr);
}
