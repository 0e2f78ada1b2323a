// Writing clips and whole copies: the header, the channel choice, the level curve, failures that
// leave nothing half-written, and sox reading what was written.
#include "sound/SaveWave.h"
#include "platform/audio/SaveWaveHeader.h"
#include "sound/SaveWaveWhole.h"
#include "platform/audio/WaveFile.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "support/WavFixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr std::int64_t kDataStart = 45;   // the fixture's canonical 44-byte header

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::uint32_t U32(const QByteArray& b, int at) { return qFromLittleEndian<std::uint32_t>(b.constData() + at); }
std::uint16_t U16(const QByteArray& b, int at) { return qFromLittleEndian<std::uint16_t>(b.constData() + at); }

std::vector<int> Samples16(const QByteArray& file)
{
    std::vector<int> out;
    for (int at = 44; at + 1 < file.size(); at += 2) out.push_back(qFromLittleEndian<std::int16_t>(file.constData() + at));
    return out;
}

std::vector<int> Samples8(const QByteArray& file)
{
    std::vector<int> out;
    for (int at = 44; at < file.size(); ++at) out.push_back(std::uint8_t(file[at]));
    return out;
}

// Writes `samples` as a source WAV and saves frames [first, first + count) of it.
Outcome Save(const TempDir& dir, const WavShape& format, const std::vector<int>& samples,
                    std::int64_t first, std::int64_t count, float gain, ChannelChoice channel,
                    const QString& target)
{
    const QString source = dir.file("source.wav");
    EXPECT_TRUE(WriteWav(source, format, samples));
    WaveFile file;
    EXPECT_EQ(file.Open(source), 0);
    const int blockAlign = format.channels * format.bitsPerSample / 8;
    return SaveWave(file, target, kDataStart + blockAlign * first, count, format.sampleRate,
                    std::int16_t(format.bitsPerSample), format.channels == 2 ? "Stereo" : "Mono",
                    gain, channel);
}

// Left = i, right = -(i + 1): every sample tells where it came from.
std::vector<int> Numbered(int frames)
{
    std::vector<int> s;
    for (int i = 0; i < frames; ++i) {
        s.push_back(i);
        s.push_back(-(i + 1));
    }
    return s;
}

float Decibels(double dB) { return float(std::pow(10.0, dB / 20.0)); }

} // namespace

TEST(ExportHeader, FieldsOfTheWrittenHeader)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteWaveHeader(buffer, 2, 44100, 16, 1000));
    const QByteArray h = buffer.data();
    ASSERT_EQ(h.size(), 44);
    EXPECT_EQ(h.left(4), "RIFF");
    EXPECT_EQ(U32(h, 4), 36u + 4000u);
    EXPECT_EQ(h.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(U32(h, 16), 16u);
    EXPECT_EQ(U16(h, 20), 1u);
    EXPECT_EQ(U16(h, 22), 2u);
    EXPECT_EQ(U32(h, 24), 44100u);
    EXPECT_EQ(U32(h, 28), 176400u);
    EXPECT_EQ(U16(h, 32), 4u);
    EXPECT_EQ(U16(h, 34), 16u);
    EXPECT_EQ(h.mid(36, 4), "data");
    EXPECT_EQ(U32(h, 40), 4000u);

    const auto mono8 = WaveHeaderBytes(1, 22050, 8, 7);
    ASSERT_TRUE(mono8);
    EXPECT_EQ(U32(*mono8, 28), 22050u);
    EXPECT_EQ(U16(*mono8, 32), 1u);
    EXPECT_EQ(U32(*mono8, 40), 7u);
}

TEST(ExportHeader, SizesBeyondThe32BitFieldsAreRefused)
{
    const std::int64_t largest = std::numeric_limits<std::int32_t>::max();
    // The RIFF size 36 + data size must fit too.
    const std::int64_t fits = (largest - 36) / 4;
    const auto last = WaveHeaderBytes(2, 44100, 16, fits);
    ASSERT_TRUE(last);
    EXPECT_EQ(U32(*last, 4), std::uint32_t(36 + fits * 4));
    EXPECT_FALSE(WaveHeaderBytes(2, 44100, 16, fits + 1));
    EXPECT_FALSE(WaveHeaderBytes(2, 44100, 16, std::int64_t(1) << 40));
    EXPECT_FALSE(WaveHeaderBytes(2, std::numeric_limits<std::int32_t>::max(), 16, 10));  // byte rate
    EXPECT_FALSE(WaveHeaderBytes(3, 44100, 16, 10));
    EXPECT_FALSE(WaveHeaderBytes(1, 44100, 24, 10));

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_FALSE(WriteWaveHeader(buffer, 2, 44100, 16, fits + 1));
    EXPECT_TRUE(buffer.data().isEmpty());
}

TEST(ExportSaveWave, StereoSelectionAsOneChannelOrBoth)
{
    TempDir dir;
    const WavShape format{.channels = 2, .sampleRate = 44100, .bitsPerSample = 16};
    const auto samples = Numbered(2000);

    ASSERT_TRUE(Save(dir, format, samples, 500, 1000, 1, ChannelChoice::Left, dir.file("left.wav")).ok);
    const QByteArray left = ReadAll(dir.file("left.wav"));
    EXPECT_EQ(left.size(), 44 + 2000);
    EXPECT_EQ(U16(left, 22), 1u);       // mono
    EXPECT_EQ(U16(left, 32), 2u);       // block align
    EXPECT_EQ(U32(left, 28), 88200u);
    EXPECT_EQ(U32(left, 40), 2000u);    // data size
    const auto l = Samples16(left);
    ASSERT_EQ(l.size(), 1000u);
    EXPECT_EQ(l.front(), 500);
    EXPECT_EQ(l.back(), 1499);

    ASSERT_TRUE(Save(dir, format, samples, 500, 1000, 1, ChannelChoice::Right, dir.file("right.wav")).ok);
    const auto r = Samples16(ReadAll(dir.file("right.wav")));
    ASSERT_EQ(r.size(), 1000u);
    EXPECT_EQ(r.front(), -501);
    EXPECT_EQ(r.back(), -1500);

    ASSERT_TRUE(Save(dir, format, samples, 500, 1000, 1, ChannelChoice::Both, dir.file("both.wav")).ok);
    const QByteArray both = ReadAll(dir.file("both.wav"));
    EXPECT_EQ(U16(both, 22), 2u);
    EXPECT_EQ(U32(both, 40), 4000u);
    // Exactly the source's bytes of those frames.
    EXPECT_EQ(both.mid(44), MakeWav(format, samples).mid(44 + 500 * 4, 4000));
}

TEST(ExportSaveWave, MonoSourcesIgnoreTheChannelChoice)
{
    TempDir dir;
    const WavShape format{.channels = 1, .sampleRate = 8000, .bitsPerSample = 8};
    const std::vector<int> samples{0, 10, 20, 128, 255, 7};
    ASSERT_TRUE(Save(dir, format, samples, 1, 4, 1, ChannelChoice::Right, dir.file("m.wav")).ok);
    const QByteArray m = ReadAll(dir.file("m.wav"));
    EXPECT_EQ(U16(m, 22), 1u);
    EXPECT_EQ(U16(m, 34), 8u);
    EXPECT_EQ(U32(m, 24), 8000u);
    EXPECT_EQ(Samples8(m), (std::vector<int>{10, 20, 128, 255}));
}

TEST(ExportSaveWave, LevelCurveOn16BitSamples)
{
    TempDir dir;
    const WavShape format{.channels = 1, .bitsPerSample = 16};
    const std::vector<int> samples{16384, 0, -16384, 1000, 32767, -32768};

    ASSERT_TRUE(Save(dir, format, samples, 0, 6, Decibels(6), ChannelChoice::Both, dir.file("a.wav")).ok);
    const auto six = Samples16(ReadAll(dir.file("a.wav")));
    ASSERT_EQ(six.size(), 6u);
    EXPECT_EQ(six[0], 16231);
    EXPECT_EQ(six[1], 0);
    EXPECT_EQ(six[2], -16231);

    // Any level other than 1 goes through the curve, whose slope near 0 is about 0.632 x gain.
    ASSERT_TRUE(Save(dir, format, samples, 0, 6, Decibels(0.1), ChannelChoice::Both, dir.file("b.wav")).ok);
    EXPECT_EQ(Samples16(ReadAll(dir.file("b.wav")))[3], 639);

    // Very large levels saturate smoothly at +-32512, never wrapping.
    ASSERT_TRUE(Save(dir, format, samples, 0, 6, Decibels(100), ChannelChoice::Both, dir.file("c.wav")).ok);
    const auto loud = Samples16(ReadAll(dir.file("c.wav")));
    EXPECT_EQ(loud[0], 32512);
    EXPECT_EQ(loud[2], -32512);
    EXPECT_EQ(loud[4], 32512);
    EXPECT_EQ(loud[5], -32512);

    // A level of exactly 1 is a copy, extremes included.
    ASSERT_TRUE(Save(dir, format, samples, 0, 6, 1.0f, ChannelChoice::Both, dir.file("d.wav")).ok);
    EXPECT_EQ(Samples16(ReadAll(dir.file("d.wav"))), samples);
}

TEST(ExportSaveWave, LevelCurveOn8BitSamplesSaturatesInsteadOfFailing)
{
    TempDir dir;
    const WavShape format{.channels = 2, .bitsPerSample = 8};
    const std::vector<int> samples{255, 0, 128, 200};   // two stereo frames

    // 255 reaches 255.48 at +44 dB and 255.54 at +45 dB, which must not become 256; 0 (one step
    // further from the centre) comes down to 0.52 and 0.46.
    const struct { double dB; int low; } levels[] = {{44, 1}, {45, 0}, {60, 0}};
    for (const auto& level : levels) {
        const QString out = dir.file(QString("loud%1.wav").arg(level.dB));
        const Outcome r =
            Save(dir, format, samples, 0, 2, Decibels(level.dB), ChannelChoice::Both, out);
        ASSERT_TRUE(r.ok) << level.dB << " " << r.detail.toStdString();
        EXPECT_EQ(Samples8(ReadAll(out)), (std::vector<int>{255, level.low, 128, 255})) << level.dB;
    }
    // The left channel alone through the curve at +6 dB.
    ASSERT_TRUE(Save(dir, format, samples, 0, 2, Decibels(6), ChannelChoice::Left, dir.file("l.wav")).ok);
    const double g = Decibels(6);
    const int expected = int(std::nearbyint(std::atan(127 * g / 128) * 128 / (M_PI / 2) + 128));
    EXPECT_EQ(Samples8(ReadAll(dir.file("l.wav"))), (std::vector<int>{expected, 128}));
}

TEST(ExportSaveWave, FailuresLeaveNothingHalfWritten)
{
    TempDir dir;
    const WavShape format{.channels = 2, .bitsPerSample = 16};
    const auto samples = Numbered(100);

    const QString nowhere = dir.file("missing/clip.wav");
    const Outcome r = Save(dir, format, samples, 0, 10, 1, ChannelChoice::Both, nowhere);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Error in Saving file: " + nowhere);
    EXPECT_EQ(r.title, "Save Error");
    EXPECT_FALSE(QFile::exists(nowhere));

    ScopedScriptedPrompts prompts;
    ReportFailure(r);
    ASSERT_EQ(prompts->shown().size(), 1u);
    EXPECT_EQ(prompts->shown()[0].prompt, r.message);
    EXPECT_EQ(prompts->shown()[0].title, "Save Error");
    ReportFailure(Outcome::Success());
    EXPECT_EQ(prompts->shown().size(), 1u);

    // A data size beyond the header's 32 bits: the older file stays as it was, and no temporary
    // file is left beside it.
    const QString older = dir.file("older.wav");
    ASSERT_TRUE(WriteWav(older, format, samples));
    const QByteArray before = ReadAll(older);
    const Outcome huge = Save(dir, format, samples, 0, std::int64_t(1) << 31, 1,
                                     ChannelChoice::Both, older);
    EXPECT_FALSE(huge.ok);
    EXPECT_EQ(ReadAll(older), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"older.wav", "source.wav"}));
}

TEST(ExportSaveWave, ClipSavedOverItsOwnSourceAndPastItsEnd)
{
    TempDir dir;
    const WavShape format{.channels = 2, .bitsPerSample = 16};
    const QString source = dir.file("source.wav");
    // Saving the left channel onto the file being read.
    ASSERT_TRUE(Save(dir, format, Numbered(50000), 100, 40000, 1, ChannelChoice::Left, source).ok);
    const auto l = Samples16(ReadAll(source));
    ASSERT_EQ(l.size(), 40000u);
    EXPECT_EQ(l[0], 100);
    EXPECT_EQ(l[39999], 40099 - 65536);   // 16-bit samples of the numbered fixture wrap

    // Frames asked beyond the end of the data read as silence; the count written is the count asked.
    ASSERT_TRUE(Save(dir, format, Numbered(10), 8, 4, 1, ChannelChoice::Right, dir.file("tail.wav")).ok);
    EXPECT_EQ(Samples16(ReadAll(dir.file("tail.wav"))), (std::vector<int>{-9, -10, 0, 0}));

    // A count of 0 (a plain press on the graph) writes a header alone.
    ASSERT_TRUE(Save(dir, format, Numbered(10), 3, 0, 1, ChannelChoice::Both, dir.file("none.wav")).ok);
    const QByteArray none = ReadAll(dir.file("none.wav"));
    EXPECT_EQ(none.size(), 44);
    EXPECT_EQ(U32(none, 40), 0u);
}

TEST(ExportSaveWave, SoxReadsTheSamplesWritten)
{
    if (!ToolAvailable("sox")) GTEST_SKIP() << "sox is not installed";
    TempDir dir;
    struct Case { WavShape format; ChannelChoice channel; float gain; };
    const Case cases[] = {
        {{.channels = 2, .sampleRate = 48000, .bitsPerSample = 16}, ChannelChoice::Both, Decibels(-3)},
        {{.channels = 2, .sampleRate = 22050, .bitsPerSample = 16}, ChannelChoice::Right, 1},
        {{.channels = 1, .sampleRate = 11025, .bitsPerSample = 8}, ChannelChoice::Both, Decibels(10)},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString out = dir.file(QString("out%1.wav").arg(++n));
        const auto samples = Sine(3000, c.format.channels, 441, c.format.bitsPerSample == 8 ? 100 : 20000,
                                  c.format.sampleRate, c.format.bitsPerSample);
        ASSERT_TRUE(Save(dir, c.format, samples, 200, 2500, c.gain, c.channel, out).ok);
        const int channels = c.channel == ChannelChoice::Both ? c.format.channels : 1;
        EXPECT_EQ(RunTool("soxi", {"-c", out}).output.trimmed().toInt(), channels) << n;
        EXPECT_EQ(RunTool("soxi", {"-r", out}).output.trimmed().toInt(), c.format.sampleRate) << n;
        EXPECT_EQ(RunTool("soxi", {"-b", out}).output.trimmed().toInt(), c.format.bitsPerSample) << n;
        EXPECT_EQ(RunTool("soxi", {"-s", out}).output.trimmed().toInt(), 2500) << n;
        const QString raw = dir.file(QString("out%1.raw").arg(n));
        ASSERT_EQ(RunTool("sox", {out, "-t", "raw", raw}).exitCode, 0) << n;
        EXPECT_EQ(ReadAll(raw), ReadAll(out).mid(44)) << n;
    }
}

TEST(ExportSaveWaveWhole, ByteForByteCopy)
{
    TempDir dir;
    const QString source = dir.file("s.wav");
    // An odd file: a LIST chunk before the data, 8-bit stereo. The copy keeps every byte.
    const WavShape format{.channels = 2, .bitsPerSample = 8,
                       .chunksBeforeData = QByteArray("LIST\4\0\0\0abcd", 12)};
    ASSERT_TRUE(WriteWav(source, format, Sine(5000, 2, 300, 90, 44100, 8)));
    const QByteArray bytes = ReadAll(source);

    const QString target = dir.file("copy.wav");
    ASSERT_TRUE(WriteWav(target, {}, {1, 2, 3}));   // an older file of that name is replaced
    ASSERT_TRUE(SaveWaveWhole(source, target).ok);
    EXPECT_EQ(ReadAll(target), bytes);

    // Onto itself: nothing is lost.
    ASSERT_TRUE(SaveWaveWhole(source, source).ok);
    EXPECT_EQ(ReadAll(source), bytes);

    const Outcome missing = SaveWaveWhole(dir.file("gone.wav"), target);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, "Error in Saving file: " + target);
    EXPECT_EQ(ReadAll(target), bytes);
    EXPECT_FALSE(SaveWaveWhole(source, dir.file("no/such/folder.wav")).ok);
}
