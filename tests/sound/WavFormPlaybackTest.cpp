// Playback from the analyser window through the real audio stack (the PulseAudio server that the
// test run starts): the buttons, the moving cursor and the read-outs.
#include "app/MDIMain.h"
#include "platform/video/MediaPlayer.h"
#include "support/ScriptedPrompts.h"
#include "support/TimeScale.h"
#include "sound/OpenSoundWindow.h"
#include "sound/WavForm.h"
#include "text/LoadText.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "support/FrameFixture.h"
#include "support/WavFixture.h"

namespace {
bool waitFor(const std::function<bool()>& done, int ms = 8000)
{
    QDeadlineTimer deadline(Slack(ms));
    while (!done() && !deadline.hasExpired()) QTest::qWait(20);
    return done();
}

class WavFormPlaybackTest : public FrameFixture {
protected:
    WavForm* open(const QString& path) { return openSound(path); }
    QPushButton* button(WavForm* w, const char* name) { return w->findChild<QPushButton*>(name); }
};
}

TEST_F(WavFormPlaybackTest, PlayMovesTheCursorHaltAndStopSetTheButtons)
{
    const QString path = dir.file("two seconds.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(88200, 1, 440, 8000)));
    WavForm* w = open(path);
    ASSERT_NE(w, nullptr);
    QLineEdit* seconds = w->findChild<QLineEdit*>("Text1");
    QLineEdit* sample = w->findChild<QLineEdit*>("Text2");
    QFrame* line = w->findChild<QFrame*>("Line1");

    button(w, "Command1")->click();
    EXPECT_FALSE(button(w, "Command1")->isEnabled());
    EXPECT_FALSE(button(w, "Command4")->isEnabled());
    ASSERT_TRUE(waitFor([&] { return w->mediaPlayer()->currentPosition() > 0.3; }))
        << w->mediaPlayer()->errorString().toStdString();
    ASSERT_TRUE(waitFor([&] { return line->isVisible() && line->x() > 0; }));
    // The read-outs follow the position: the sample number is the time times the rate.
    EXPECT_GT(seconds->text().toDouble(), 0.0);
    EXPECT_NEAR(sample->text().toDouble(), std::floor(44100 * seconds->text().toDouble()), 1.0);
    const int earlier = line->x();
    ASSERT_TRUE(waitFor([&] { return line->x() > earlier; }));

    button(w, "Command2")->click();   // Halt
    EXPECT_FALSE(button(w, "Command1")->isEnabled());
    ASSERT_TRUE(waitFor([&] { return w->mediaPlayer()->playState() == MediaPlayer::Paused; }));
    const double halted = w->mediaPlayer()->currentPosition();
    QTest::qWait(300);
    EXPECT_NEAR(w->mediaPlayer()->currentPosition(), halted, 0.05);

    button(w, "Command3")->click();   // Stop
    EXPECT_TRUE(button(w, "Command1")->isEnabled());
    EXPECT_TRUE(button(w, "Command4")->isEnabled());

    // Play after Stop starts the sound again from its beginning.
    const double stopped = w->mediaPlayer()->currentPosition();
    ASSERT_GT(stopped, 0.2);
    button(w, "Command1")->click();
    ASSERT_TRUE(waitFor([&] { return w->mediaPlayer()->playState() == MediaPlayer::Playing; }));
    EXPECT_LT(w->mediaPlayer()->currentPosition(), stopped);
}

TEST_F(WavFormPlaybackTest, PlayWithoutASoundOnlyMovesTheFocus)
{
    const QString path = dir.file("not a sound.wav");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("nothing here");
    f.close();
    WavForm* w = open(path);
    ASSERT_NE(w, nullptr);
    button(w, "Command1")->click();
    EXPECT_TRUE(button(w, "Command1")->isEnabled());
    EXPECT_NE(w->mediaPlayer()->playState(), MediaPlayer::Playing);
}
