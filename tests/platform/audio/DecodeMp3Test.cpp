#include "platform/audio/DecodeMp3.h"

#include "support/ScriptedPrompts.h"
#include "text/LoadText.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/Tools.h"
#include "support/WavFixture.h"

namespace {
// An MP3 of a second of tone made by the real encoder.
QString makeMp3(const TempDir& dir, const QString& name)
{
    const QString wav = dir.file("source-for-mp3.wav");
    WavShape shape;
    EXPECT_TRUE(WriteWav(wav, shape, Sine(44100, 1, 440, 8000)));
    const QString mp3 = dir.file(name);
    EXPECT_EQ(RunTool("lame", {"--quiet", wav, mp3}).exitCode, 0);
    QFile::remove(wav);
    return mp3;
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}

TEST(DecodeMp3, CapitalExtensionDecodesNextToTheMp3)
{
    TempDir dir;
    const QString mp3 = makeMp3(dir, "Tone Sample.MP3");
    ScopedScriptedPrompts prompts;
    const QString wav = DecodeMp3ToWav(mp3, AskThroughPrompts());
    EXPECT_EQ(wav, dir.file("Tone Sample.wav"));
    EXPECT_TRUE(QFile::exists(wav));
    EXPECT_TRUE(contents(wav).startsWith("RIFF"));
    EXPECT_TRUE(prompts->messages().isEmpty());
}

TEST(DecodeMp3, AnExistingWavIsKeptAndTheUnderscoreFileIsMadeAnew)
{
    TempDir dir;
    const QString mp3 = makeMp3(dir, "tone.mp3");
    const QByteArray mine = "my own recording, not to be touched";
    {
        QFile f(dir.file("tone.wav"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(mine);
        QFile old(dir.file("tone_.wav"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("stale output of an earlier decode");
    }
    ScopedScriptedPrompts prompts;
    const QString wav = DecodeMp3ToWav(mp3, AskThroughPrompts(), 200);
    EXPECT_EQ(wav, dir.file("tone_.wav"));
    EXPECT_EQ(contents(dir.file("tone.wav")), mine);
    EXPECT_TRUE(contents(wav).startsWith("RIFF"));
    EXPECT_GT(QFileInfo(wav).size(), 44100);
}

TEST(DecodeMp3, NoWavAfterDecodingAsksOnceAndStillReturnsThePath)
{
    TempDir dir;
    const QString notMp3 = dir.file("broken.mp3");
    {
        QFile f(notMp3);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not an mp3 file at all");
    }
    ScopedScriptedPrompts prompts;
    prompts->QueueAnswer(Answer::Yes);
    const QString wav = DecodeMp3ToWav(notMp3, AskThroughPrompts());
    EXPECT_EQ(wav, dir.file("broken.wav"));
    EXPECT_FALSE(QFile::exists(wav));
    ASSERT_EQ(prompts->messages().size(), 1);
    EXPECT_EQ(prompts->messages().first(), LoadText(409));
    EXPECT_EQ(prompts->shown().front().title, LoadText(410));
    EXPECT_EQ(prompts->shown().front().buttons, MsgButtons::YesNo);
}
