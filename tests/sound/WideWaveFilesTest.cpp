// The wide WAV formats (24- and 32-bit integers, 32- and 64-bit floats, WAVE_FORMAT_EXTENSIBLE,
// RF64) as sox and ffmpeg write them: the header values soxi reports, and the samples sox itself
// decodes, in the document, the spectrum's arrays and the waveform's amplitude table. And the
// detail line of the files the analyser refuses.
#include "sound/ColumnTable.h"
#include "platform/audio/GetWaveData.h"
#include "platform/audio/GetWaveHeader.h"
#include "sound/GraphWave.h"
#include "platform/audio/SampleFormat.h"
#include "sound/SaveWave.h"
#include "sound/SoundDocument.h"
#include "sound/WaveEnvelope.h"
#include "platform/audio/WaveFile.h"
#include "platform/ui/Surface.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "support/WavFixture.h"

#include <QFile>
#include <QtEndian>
#include <atomic>
#include <cstring>
#include <gtest/gtest.h>

namespace {

int Soxi(const QString& option, const QString& path)
{
    // sox warns about some headers on the same output (ffmpeg's extensible floats): the number
    // is the line that is one.
    for (const QString& line : RunTool("soxi", {option, path}).output.split('\n')) {
        bool ok = false;
        const int value = line.trimmed().toInt(&ok);
        if (ok) return value;
    }
    return -1;
}

// The samples as sox decodes them: interleaved, full scale 1.
std::vector<double> SoxSamples(const TempDir& dir, const QString& wav)
{
    const QString raw = dir.file("samples.f64");
    EXPECT_EQ(RunTool("sox", {wav, "-t", "f64", raw}).exitCode, 0);
    QFile f(raw);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    std::vector<double> out(std::size_t(bytes.size()) / 8);
    std::memcpy(out.data(), bytes.constData(), out.size() * 8);
    return out;
}

struct Made {
    QString tool;
    QStringList args;       // "%1" is the output file
    QString bitsLabel;      // Label10
    SampleEncoding encoding;
    bool extensible;
    bool rf64;
};

} // namespace

TEST(WideWaveFiles, ToolsOutputLoadsWithSoxValues)
{
    if (!ToolAvailable("sox") || !ToolAvailable("soxi") || !ToolAvailable("ffmpeg"))
        GTEST_SKIP() << "sox or ffmpeg missing";
    const QStringList lavfi = {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "sine=f=440:d=0.05",
                               "-af", "volume=0.9"};
    const QStringList synth = {"synth", "0.05", "sine", "440", "sine", "660", "gain", "-1"};
    using E = SampleEncoding;
    const std::vector<Made> files = {
        {"sox", QStringList{"-n", "-r", "8000", "-c", "1", "-b", "24", "%1"} + synth, "24 bits", E::Signed24, true, false},
        {"sox", QStringList{"-n", "-r", "11025", "-c", "2", "-b", "32", "-e", "signed-integer", "%1"} + synth,
         "32 bits", E::Signed32, true, false},
        {"sox", QStringList{"-n", "-r", "8000", "-c", "2", "-b", "32", "-e", "floating-point", "%1"} + synth,
         "32 bits float", E::Float32, false, false},
        {"sox", QStringList{"-n", "-r", "8000", "-c", "1", "-b", "64", "-e", "floating-point", "%1"} + synth,
         "64 bits float", E::Float64, false, false},
        {"ffmpeg", lavfi + QStringList{"-ac", "2", "-ar", "22050", "-c:a", "pcm_s24le", "%1"}, "24 bits", E::Signed24, true, false},
        {"ffmpeg", lavfi + QStringList{"-ac", "1", "-ar", "8000", "-c:a", "pcm_s32le", "%1"}, "32 bits", E::Signed32, true, false},
        {"ffmpeg", lavfi + QStringList{"-ac", "2", "-ar", "8000", "-c:a", "pcm_f32le", "%1"}, "32 bits float", E::Float32, true, false},
        {"ffmpeg", lavfi + QStringList{"-ac", "1", "-ar", "8000", "-c:a", "pcm_f64le", "%1"}, "64 bits float", E::Float64, true, false},
        // RF64 as ffmpeg writes it on request: "ds64" before "fmt ", size fields 0xFFFFFFFF.
        {"ffmpeg", lavfi + QStringList{"-ac", "2", "-ar", "8000", "-c:a", "pcm_s24le", "-rf64", "always", "%1"},
         "24 bits", E::Signed24, true, true},
        {"ffmpeg", lavfi + QStringList{"-ac", "1", "-ar", "8000", "-c:a", "pcm_s16le", "-rf64", "always", "%1"},
         "16 bits", E::Signed16, false, true},
        // Extensible 16-bit stays on the design's 16-bit path.
        {"ffmpeg", lavfi + QStringList{"-ac", "2", "-ar", "96000", "-c:a", "pcm_s16le", "%1"}, "16 bits", E::Signed16, true, false},
    };

    TempDir dir;
    int n = 0;
    for (const Made& m : files) {
        const QString path = dir.file(QString("wide%1.wav").arg(++n));
        QStringList args = m.args;
        args.replaceInStrings("%1", path);
        ASSERT_EQ(RunTool(m.tool, args).exitCode, 0) << m.tool.toStdString() << " " << n;

        WaveFile probe;
        ASSERT_EQ(probe.Open(path), 0);
        const WaveHeader h = WaveHeader::Read(probe);
        ASSERT_TRUE(h.ok()) << n << " " << qPrintable(WaveFaultDetail(h));
        EXPECT_EQ(h.extensible, m.extensible) << n;
        EXPECT_EQ(h.rf64, m.rf64) << n;
        EXPECT_EQ(h.format.encoding(), m.encoding) << n;

        SoundDocument doc;
        WaveFile file;
        ASSERT_TRUE(doc.LoadFileData(file, path, 1).ok()) << n;
        EXPECT_EQ(doc.sampleRate(), Soxi("-r", path)) << n;
        EXPECT_EQ(doc.stereo() ? 2 : 1, Soxi("-c", path)) << n;
        EXPECT_EQ(doc.totalSamples(), Soxi("-s", path)) << n;
        EXPECT_EQ(doc.bitsText, m.bitsLabel) << n;
        EXPECT_EQ(doc.sampleFormat.encoding(), m.encoding) << n;

        const std::vector<double> sox = SoxSamples(dir, path);
        const int channels = doc.stereo() ? 2 : 1;
        ASSERT_EQ(sox.size(), std::size_t(doc.totalSamples()) * channels) << n;

        // The spectrum's arrays: sox's values on the 16-bit scale.
        const WaveSamples w = GetWaveHeader(path, {});
        ASSERT_TRUE(w.ok) << n;
        for (int k = 0; k < w.frameCount; ++k) {
            ASSERT_NEAR(w.first[k], sox[std::size_t(k * channels)] * 32768, 0.01) << n << " frame " << k;
            if (channels == 2) ASSERT_NEAR(w.second[k], sox[std::size_t(k * channels + 1)] * 32768, 0.01) << n;
        }

        // The drawing (sample by sample: these sounds are shorter than the graph) fills the
        // amplitude table with the exact values, and spans the trace like a 16-bit one.
        Surface p2(10060, 3856), p4(10060, 3856), p5(10060, 1928), p7(10060, 1928);
        ColumnTable table;
        GraphWave graph(p2, p4, p5, p7, table);
        const GraphLayout layout = graph.Draw(file, doc.dataStart(), doc.totalSamples(), doc.sampleFormat,
                                              doc.channelMode());
        EXPECT_EQ(layout.ampTag, "0");
        for (int k = 0; k < doc.totalSamples(); ++k)
            for (int c = 0; c < channels; ++c)
                ASSERT_NEAR(table.At(k, c), sox[std::size_t(k * channels + c)], 2e-7) << n << " frame " << k;
    }
}

TEST(WideWaveFiles, SampleFormatsDecodeAndEncodeTheirFullScale)
{
    unsigned char b[8];
    const SampleFormat s24(24), s32(32), f32(32, true), f64(64, true), u8(8);
    // The most negative value is exactly -1; the largest one just short of +1.
    s24.Encode(-1.0, b);
    EXPECT_EQ(s24.Normalised(b), -1.0);
    EXPECT_EQ(s24.Raw16(b), -32768);
    s24.Encode(2.0, b);   // held to the largest value
    EXPECT_EQ(s24.Normalised(b), 8388607.0 / 8388608.0);
    EXPECT_EQ(s24.Raw16(b), 32767);
    s32.Encode(0.5, b);
    EXPECT_EQ(s32.Normalised(b), 0.5);
    EXPECT_EQ(s32.Raw16(b), 16384);
    // A float beyond full scale keeps its value (a float file may hold it) but draws at the edge.
    f32.Encode(1.5, b);
    EXPECT_EQ(f32.Normalised(b), 1.5);
    EXPECT_EQ(f32.Raw16(b), 32767);
    f64.Encode(-0.25, b);
    EXPECT_EQ(f64.Normalised(b), -0.25);
    u8.Encode(-1.0, b);
    EXPECT_EQ(b[0], 0);
    EXPECT_EQ(u8.Raw16(b), 0);   // 8-bit raw values are the bytes
    EXPECT_FALSE(SampleFormat(24, true).known());
    EXPECT_FALSE(SampleFormat(16).wide());
    EXPECT_TRUE(SampleFormat(24).wide());
}

namespace {
void Put32(QByteArray& b, quint32 v) { char c[4]; qToLittleEndian(v, c); b.append(c, 4); }
void Put64(QByteArray& b, quint64 v) { char c[8]; qToLittleEndian(v, c); b.append(c, 8); }
void Put16(QByteArray& b, quint16 v) { char c[2]; qToLittleEndian(v, c); b.append(c, 2); }
}

TEST(WideWaveFiles, Rf64DataBeyondFourGibibytesIsRead)
{
    // A sparse RF64 file of 4.5 GiB of 24-bit stereo: only a few frames beyond 4 GiB hold
    // anything, so the test writes and reads a few kilobytes.
    TempDir dir;
    const QString path = dir.file("long.wav");
    const quint64 frames = 805306368;   // 4.5 GiB / 6 bytes
    const quint64 dataBytes = frames * 6;
    QByteArray head = "RF64";
    Put32(head, 0xFFFFFFFF);
    head += "WAVEds64";
    Put32(head, 28);
    Put64(head, 0);   // the RIFF size: not read
    Put64(head, dataBytes);
    Put64(head, frames);
    Put32(head, 0);
    head += "fmt ";
    Put32(head, 16);
    Put16(head, 1);
    Put16(head, 2);
    Put32(head, 48000);
    Put32(head, 48000 * 6);
    Put16(head, 6);
    Put16(head, 24);
    head += "data";
    Put32(head, 0xFFFFFFFF);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(head), head.size());
    ASSERT_TRUE(f.resize(head.size() + qint64(dataBytes)));
    // Frames 715827883.. start just beyond 4 GiB of data: left 0.5, right -0.25, then a ramp.
    const quint64 first = (quint64(1) << 32) / 6 + 1;
    QByteArray marks;
    const SampleFormat s24(24);
    for (int k = 0; k < 4; ++k) {
        unsigned char b[6];
        s24.Encode(0.5 - 0.125 * k, b);
        s24.Encode(-0.25, b + 3);
        marks.append(reinterpret_cast<const char*>(b), 6);
    }
    ASSERT_TRUE(f.seek(head.size() + qint64(first * 6)));
    ASSERT_EQ(f.write(marks), marks.size());
    f.close();

    SoundDocument doc;
    WaveFile file;
    ASSERT_TRUE(doc.LoadFileData(file, path, 1).ok());
    EXPECT_TRUE(doc.rf64);
    EXPECT_EQ(doc.dataSize(), qint64(dataBytes));
    EXPECT_EQ(doc.totalSamples(), qint64(frames));

    const std::int64_t start = doc.dataStart() + std::int64_t(first) * 6;
    Surface p2(10060, 1928), p4(10060, 1928), p5(10060, 1928), p7(10060, 1928);
    ColumnTable table;
    GraphWave graph(p2, p4, p5, p7, table);
    graph.Draw(file, start, 4, doc.sampleFormat, doc.channelMode());
    for (int k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(table.At(k, 0), float(0.5 - 0.125 * k)) << k;
        EXPECT_FLOAT_EQ(table.At(k, 1), -0.25f) << k;
    }
    std::vector<float> left(4), right(4);
    GetWaveData(left, right, file, path, start, 4, 48000, doc.sampleFormat, "Stereo");
    EXPECT_FLOAT_EQ(left[0], 16384.0f);
    EXPECT_FLOAT_EQ(right[3], -8192.0f);
    const std::atomic_bool cancel = false;
    const auto env = ComputeEnvelope({.path = path, .start = start, .frames = 4, .bitsPerSample = 24,
                                      .channels = 2, .columns = 1, .framesPerColumn = 4}, cancel);
    ASSERT_TRUE(env);
    EXPECT_EQ(env->High(0, 0), 16384);
    EXPECT_EQ(env->Low(0, 0), 4096);
    EXPECT_EQ(env->Low(0, 1), -8192);
}

TEST(WideWaveFiles, AClipOfAWideSoundKeepsItsFormat)
{
    // A selected clip of a 24-bit sound is written as 24-bit samples, exact at 0 dB and through
    // the level curve otherwise; sox reads it back with the same values.
    TempDir dir;
    const QString source = dir.file("s24.wav");
    std::vector<int> samples;
    for (int i = 0; i < 100; ++i) samples.push_back((i - 50) * 100000);
    ASSERT_TRUE(WriteWav(source, {.channels = 1, .sampleRate = 8000, .bitsPerSample = 24}, samples));
    WaveFile file;
    ASSERT_EQ(file.Open(source), 0);
    const QString clip = dir.file("clip.wav");
    ASSERT_TRUE(SaveWave(file, clip, 45 + 3 * 10, 20, 8000, SampleFormat(24), "Mono", 1.0f).ok);
    SoundDocument doc;
    WaveFile back;
    ASSERT_TRUE(doc.LoadFileData(back, clip, 1).ok());
    EXPECT_EQ(doc.bitsText, "24 bits");
    EXPECT_EQ(doc.totalSamples(), 20);
    if (ToolAvailable("sox")) {
        const std::vector<double> sox = SoxSamples(dir, clip);
        ASSERT_EQ(sox.size(), 20u);
        for (int k = 0; k < 20; ++k) EXPECT_DOUBLE_EQ(sox[std::size_t(k)], samples[std::size_t(10 + k)] / 8388608.0) << k;
    }
    const QString louder = dir.file("louder.wav");
    ASSERT_TRUE(SaveWave(file, louder, 45, 100, 8000, SampleFormat(24), "Mono", 2.0f).ok);
    WaveFile level;
    ASSERT_EQ(level.Open(louder), 0);
    std::vector<float> v(100), unused;
    GetWaveData(v, unused, level, louder, 45, 100, 8000, SampleFormat(24), "Mono");
    const double in = samples[99] / 8388608.0;
    EXPECT_NEAR(v[99] / 32768.0, std::atan(in * 2) * (32512.0 / 32768.0) / (M_PI / 2), 1e-6);
}

TEST(WideWaveFiles, RefusedFilesSayWhy)
{
    TempDir dir;
    struct Case { QByteArray bytes; const char* detail; };
    QByteArray cut = MakeWav({}, {1, 2, 3});
    cut.truncate(30);
    const std::vector<Case> cases = {
        {MakeWav({.bitsPerSample = 4, .formatTag = 2}, {}), "compressed WAV (format 2) is not supported"},
        {MakeWav({.bitsPerSample = 24, .formatTag = 0x55}, {0}), "compressed WAV (format 85) is not supported"},
        {cut, "the file ends inside the header"},
        {MakeWav({.channels = 6}, std::vector<int>(12, 0)), "6 channels: only mono and stereo sounds can be shown"},
        {MakeWav({.bitsPerSample = 12}, {0}), "12-bit samples are not supported"},
        {MakeWav({.bitsPerSample = 24, .formatTag = 3}, {0}), "24-bit floating-point samples are not supported"},
        {MakeWav({.sampleRate = 0}, {0}), "the sample rate 0 is not valid"},
        // A 24-bit stereo block of 4 bytes cannot be read frame by frame.
        {MakeWav({.channels = 2, .bitsPerSample = 24, .blockAlign = 4}, {0, 0}),
         "the block align 4 does not fit the sample format"},
        {QByteArray(600, 'x'), "no \"fmt \" chunk in the first 400 bytes: not a WAV file"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString path = dir.file(QString("bad%1.wav").arg(++n));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        SoundDocument doc;
        WaveFile file;
        const auto r = doc.LoadFileData(file, path, 1);
        EXPECT_FALSE(r.ok()) << n;
        EXPECT_EQ(r.detail, c.detail) << n;
    }
    SoundDocument doc;
    WaveFile file;
    EXPECT_EQ(doc.LoadFileData(file, dir.file("absent.wav"), 1).detail,
              "the file cannot be opened: No such file or directory");
}
