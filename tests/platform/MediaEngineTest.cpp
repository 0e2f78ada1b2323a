// The playback side of the media player without a widget: what it reports while a clip opens,
// and that a sound alone does not start the engine until it plays.
#include "platform/video/MediaEngine.h"

#include "support/TempDir.h"
#include "support/WavFixture.h"

#include <QFile>
#include <QMediaPlayer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(MediaEngine, ASoundOpensStoppedWithoutTheEngineAndClosesToNothingOpen)
{
    TempDir dir;
    const QString wav = dir.file("tone.wav");
    ASSERT_TRUE(WriteWav(wav, WavShape{}, Sine(44100, 1, 440, 8000)));
    MediaEngine engine;
    QSignalSpy states(&engine, &MediaEngine::stateChanged);
    QSignalSpy media(&engine, &MediaEngine::mediaChanged);
    QSignalSpy failures(&engine, &MediaEngine::failed);

    engine.open(wav);
    engine.reportPlayState();
    EXPECT_TRUE(engine.isOpen());
    EXPECT_FALSE(engine.hasSource());
    EXPECT_EQ(engine.findChild<QMediaPlayer*>(), nullptr);
    EXPECT_EQ(engine.playState(), MediaEngine::Stopped);
    EXPECT_NEAR(engine.duration(), 1.0, 0.01);
    EXPECT_FALSE(engine.hasPicture());
    ASSERT_EQ(states.size(), 1);
    EXPECT_EQ(states[0][0].toInt(), MediaEngine::Stopped);
    // The clip is announced once, after the caller has finished opening it.
    EXPECT_EQ(media.size(), 0);
    QTRY_COMPARE(media.size(), 1);
    engine.reportPlayState();
    EXPECT_EQ(states.size(), 1) << "an unchanged state is not sent again";

    engine.open(QString());
    engine.reportPlayState();
    EXPECT_FALSE(engine.isOpen());
    EXPECT_EQ(engine.duration(), 0.0);
    ASSERT_EQ(states.size(), 2);
    EXPECT_EQ(states[1][0].toInt(), MediaEngine::Undefined);
    EXPECT_EQ(engine.position(), 0.0);
    EXPECT_EQ(failures.size(), 0);
    QTest::qWait(50);
    EXPECT_EQ(media.size(), 1) << "closing announces nothing";
}

TEST(MediaEngine, AFileWithNothingReadableFailsAtOnce)
{
    TempDir dir;
    const QString junk = dir.file("notes.mp4");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a clip at all");
    file.close();
    MediaEngine engine;
    QSignalSpy failures(&engine, &MediaEngine::failed);
    engine.open(junk);
    EXPECT_EQ(failures.size(), 1);
    EXPECT_TRUE(engine.clipInfo().isEmpty());
    EXPECT_EQ(engine.url(), junk);
}
