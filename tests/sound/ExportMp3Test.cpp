// MP3 saves through the encoder: the real lame, and stand-in encoders put first on PATH to play
// a slow encoder, a failing one and a missing one.
#include "platform/audio/Mp3Encode.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "support/WavFixture.h"

#include <QDir>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kQuestion = "Continue ...opening mp3 file";

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Puts a folder first on PATH (or makes it the whole PATH) while the object lives.
class ScopedPath {
public:
    ScopedPath(const QString& folder, bool alone) : old_(qgetenv("PATH"))
    {
        qputenv("PATH", alone ? folder.toLocal8Bit() : folder.toLocal8Bit() + ":" + old_);
    }
    ~ScopedPath() { qputenv("PATH", old_); }
private:
    QByteArray old_;
};

// A stand-in "lame" in dir/bin running the given shell script body ($3 = WAV, $4 = MP3).
QString FakeLame(const TempDir& dir, const QByteArray& body)
{
    QDir(dir.path()).mkpath("bin");
    const QString path = dir.file("bin/lame");
    Write(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
    return dir.file("bin");
}

} // namespace

TEST(ExportMp3, RealEncoderMakesAnMp3OfTheRightLength)
{
    if (!ToolAvailable("lame") || !ToolAvailable("soxi")) GTEST_SKIP() << "lame or sox missing";
    TempDir dir;
    const QString wav = dir.file("tone.wav");
    const QString mp3 = dir.file("tone.mp3");
    ASSERT_TRUE(WriteWav(wav, {.channels = 2, .sampleRate = 44100, .bitsPerSample = 16},
                         Sine(44100, 2, 440, 12000)));
    ScopedScriptedPrompts prompts;
    const Outcome r = EncodeMp3(wav, mp3, AskThroughPrompts());
    ASSERT_TRUE(r.ok) << r.detail.toStdString();
    EXPECT_FALSE(QFile::exists(wav));   // the intermediate is gone
    EXPECT_EQ(prompts->count(kQuestion), 0);

    const QString decoded = dir.file("decoded.wav");
    ASSERT_EQ(RunTool("lame", {"--decode", mp3, decoded}).exitCode, 0);
    EXPECT_EQ(RunTool("soxi", {"-c", decoded}).output.trimmed().toInt(), 2);
    EXPECT_EQ(RunTool("soxi", {"-r", decoded}).output.trimmed().toInt(), 44100);
    const int frames = RunTool("soxi", {"-s", decoded}).output.trimmed().toInt();
    EXPECT_NEAR(frames, 44100, 1152);
}

TEST(ExportMp3, TheIntermediateWavOutlivesASlowEncoder)
{
    TempDir dir;
    // Writes the MP3 at once, ends 1.5 s later, and fails if its input vanished meanwhile.
    const QString bin = FakeLame(dir,
        "[ \"$1 $2\" = \"--preset extreme\" ] || exit 9\n"
        "printf partial > \"$4\"\n"
        "sleep 1.5\n"
        "[ -f \"$3\" ] || exit 3\n"
        "printf ' complete' >> \"$4\"\n");
    ScopedPath path(bin, false);
    const QString wav = dir.file("My Clip-.wav");   // a blank in the name stays one argument
    const QString mp3 = dir.file("my clip.mp3");
    ASSERT_TRUE(WriteWav(wav, {}, {1, 2, 3}));

    ScopedScriptedPrompts prompts;   // answers Yes
    bool eventsHandled = false;
    QTimer::singleShot(100, [&] { eventsHandled = true; });
    const Outcome r = EncodeMp3(wav, mp3, AskThroughPrompts(), 400);
    ASSERT_TRUE(r.ok) << r.detail.toStdString();
    EXPECT_EQ(ReadAll(mp3), "partial complete");
    EXPECT_FALSE(QFile::exists(wav));
    EXPECT_TRUE(eventsHandled);
    // Asked while waiting, with the saving title.
    EXPECT_GE(prompts->count(kQuestion), 1);
    EXPECT_EQ(prompts->shown().at(0).title, "Mp3 file saving");
    EXPECT_EQ(prompts->shown().at(0).buttons, MsgButtons::YesNo);
}

TEST(ExportMp3, AnsweringNoStopsTheEncoder)
{
    TempDir dir;
    const QString bin = FakeLame(dir, "printf partial > \"$4\"\nexec sleep 60\n");
    ScopedPath path(bin, false);
    const QString wav = dir.file("a.wav");
    const QString mp3 = dir.file("a.mp3");
    ASSERT_TRUE(WriteWav(wav, {}, {1, 2, 3}));

    ScopedScriptedPrompts prompts;
    prompts->QueueAnswer(Answer::Yes);
    prompts->QueueAnswer(Answer::No);
    const Outcome r = EncodeMp3(wav, mp3, AskThroughPrompts(), 200);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Error in Saving file: " + mp3);
    EXPECT_EQ(prompts->count(kQuestion), 2);
    EXPECT_FALSE(QFile::exists(mp3));   // the partial MP3 is not left behind as done
    EXPECT_FALSE(QFile::exists(wav));
}

TEST(ExportMp3, FailedEncodingsAreFailures)
{
    TempDir dir;
    const QString wav = dir.file("b.wav");
    const QString mp3 = dir.file("b.mp3");
    ScopedScriptedPrompts prompts;
    {
        // A non-zero exit after writing part of the MP3.
        ScopedPath path(FakeLame(dir, "printf half > \"$4\"\nexit 2\n"), false);
        ASSERT_TRUE(WriteWav(wav, {}, {1}));
        const Outcome r = EncodeMp3(wav, mp3, AskThroughPrompts());
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, "Error in Saving file: " + mp3);
        EXPECT_EQ(r.title, "Save Error");
        EXPECT_TRUE(r.detail.contains("code 2")) << r.detail.toStdString();
        EXPECT_FALSE(QFile::exists(mp3));
        EXPECT_FALSE(QFile::exists(wav));
    }
    {
        // A clean exit without any MP3.
        ScopedPath path(FakeLame(dir, "exit 0\n"), false);
        ASSERT_TRUE(WriteWav(wav, {}, {1}));
        EXPECT_FALSE(EncodeMp3(wav, mp3, AskThroughPrompts()).ok);
        EXPECT_FALSE(QFile::exists(wav));
    }
    {
        // No encoder installed: an older MP3 of that name is not touched.
        TempDir empty;
        ScopedPath path(empty.path(), true);
        ASSERT_TRUE(WriteWav(wav, {}, {1}));
        Write(mp3, "older mp3");
        const Outcome r = EncodeMp3(wav, mp3, AskThroughPrompts());
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.detail.contains("not installed")) << r.detail.toStdString();
        EXPECT_EQ(ReadAll(mp3), "older mp3");
        EXPECT_FALSE(QFile::exists(wav));
    }
    EXPECT_EQ(prompts->shown().size(), 0u);   // failures are reported by the caller, not here
}
