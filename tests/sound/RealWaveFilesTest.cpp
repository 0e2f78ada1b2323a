// WAV files written by sox and ffmpeg load with the values those tools report, and the samples
// the analyser reads are the bytes the tools put in the data chunk.
#include "sound/ColumnTable.h"
#include "platform/audio/GetWaveHeader.h"
#include "sound/GraphWave.h"
#include "sound/SoundDocument.h"
#include "platform/audio/WaveFile.h"
#include "platform/ui/Surface.h"
#include "support/TempDir.h"
#include "support/Tools.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

struct Made {
    QString tool;
    QStringList args;     // "%1" is the output file
    bool accepted;
    WaveFault fault = WaveFault::None;
};

int Soxi(const QString& option, const QString& path)
{
    return RunTool("soxi", {option, path}).output.trimmed().toInt();
}

QByteArray RawData(const TempDir& dir, const QString& wav)
{
    const QString raw = dir.file("out.raw");
    EXPECT_EQ(RunTool("sox", {wav, "-t", "raw", raw}).exitCode, 0);
    QFile f(raw);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

} // namespace

TEST(RealWaveFiles, ToolsOutputLoadsAndReadsTheSameSamples)
{
    if (!ToolAvailable("sox") || !ToolAvailable("soxi") || !ToolAvailable("ffmpeg"))
        GTEST_SKIP() << "sox or ffmpeg missing";
    const QStringList lavfi = {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "sine=f=440:d=0.1"};
    const std::vector<Made> files = {
        {"sox", {"-n", "-r", "8000", "-c", "1", "-b", "8", "-e", "unsigned-integer", "%1",
                 "synth", "0.1", "sine", "440"}, true},
        {"sox", {"-n", "-r", "22050", "-c", "2", "-b", "16", "--comment", "tuning fork", "%1",
                 "synth", "0.1", "sine", "440", "sine", "660"}, true},
        // ffmpeg writes a LIST chunk before "data".
        {"ffmpeg", lavfi + QStringList{"-ac", "2", "-ar", "22050", "-c:a", "pcm_s16le", "%1"}, true},
        {"ffmpeg", lavfi + QStringList{"-ac", "1", "-ar", "8000", "-c:a", "pcm_u8", "%1"}, true},
        // Above 48 kHz ffmpeg writes the 40-byte extensible fmt chunk.
        {"ffmpeg", lavfi + QStringList{"-ac", "2", "-ar", "96000", "-c:a", "pcm_s16le", "%1"}, true},
        // A-law: an 18-byte fmt chunk and a fact chunk; read as 8-bit samples like any tag.
        {"ffmpeg", lavfi + QStringList{"-ac", "1", "-ar", "8000", "-c:a", "pcm_alaw", "%1"}, true},
        // MS ADPCM (format 2): compressed, not read.
        {"sox", {"-n", "-r", "8000", "-c", "1", "-e", "ms-adpcm", "%1", "synth", "0.1", "sine", "440"},
         false, WaveFault::Compressed},
        {"sox", {"-n", "-r", "8000", "-c", "3", "-b", "16", "%1", "synth", "0.1", "sine", "440"},
         false, WaveFault::Channels},
    };

    TempDir dir;
    int n = 0;
    for (const Made& m : files) {
        const QString path = dir.file(QString("made%1.wav").arg(++n));
        QStringList args = m.args;
        args.replaceInStrings("%1", path);
        ASSERT_EQ(RunTool(m.tool, args).exitCode, 0) << m.tool.toStdString() << " " << n;

        SoundDocument doc;
        WaveFile file;
        const auto result = doc.LoadFileData(file, path, 1);
        if (!m.accepted) {
            EXPECT_EQ(result.fault, m.fault) << n;
            EXPECT_EQ(GetWaveHeader(path, {}).errorNumber, 0) << n;
            continue;
        }
        ASSERT_TRUE(result.ok()) << n;
        EXPECT_EQ(doc.sampleRate(), Soxi("-r", path)) << n;
        EXPECT_EQ(doc.stereo() ? 2 : 1, Soxi("-c", path)) << n;
        EXPECT_EQ(doc.totalSamples(), Soxi("-s", path)) << n;

        // The spectrum path reads exactly the tool's sample bytes.
        const QByteArray raw = RawData(dir, path);
        const WaveSamples w = GetWaveHeader(path, {});
        ASSERT_TRUE(w.ok) << n;
        const bool sixteen = doc.bitsPerSample() == 16;
        const int channels = doc.stereo() ? 2 : 1;
        auto rawSample = [&](int frame, int channel) {
            const int at = (frame * channels + channel) * (sixteen ? 2 : 1);
            return sixteen ? int(qint16(quint8(raw[at]) | (quint8(raw[at + 1]) << 8)))
                           : int(quint8(raw[at]));
        };
        for (int k = 0; k < w.frameCount; ++k) {
            ASSERT_EQ(w.first[k], float(rawSample(k, 0))) << n << " frame " << k;
            if (channels == 2) {
                ASSERT_EQ(w.second[k], float(rawSample(k, 1))) << n << " frame " << k;
            }
        }

        // And the drawing, every sample of these short sounds, puts them in the amplitude table.
        Surface p2(10060, 3856), p4(10060, 3856), p5(10060, 1928), p7(10060, 1928);
        ColumnTable table;
        GraphWave graph(p2, p4, p5, p7, table);
        const GraphLayout layout = graph.Draw(file, doc.dataStart(), doc.totalSamples(),
                                              doc.bitsPerSample(), doc.channelMode());
        EXPECT_EQ(layout.ampTag, "0");
        const double mean = sixteen ? 0 : 128;
        const double norm = sixteen ? 32768 : 128;
        for (int k = 0; k < doc.totalSamples(); ++k)
            ASSERT_FLOAT_EQ(table.At(k, channels - 1), float((rawSample(k, channels - 1) - mean) / norm)) << n;
    }
}
