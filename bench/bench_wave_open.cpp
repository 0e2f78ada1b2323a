// Opening and drawing a one-hour sound, and computing its true envelope, beside reading that
// file once from start to end; the steps alternate run by run. Goal: the envelope within 1.2
// times one read of the file.
//
// The analyser reads the header and at most 9999 frames to draw a long sound, so opening it
// should cost a small fraction of one pass over the file. Both figures are taken with the file in
// the page cache (each is run once before it is timed), in the same run, on the same file.
#include "BenchRun.h"

#include "platform/ui/Surface.h"
#include "sound/ColumnTable.h"
#include "sound/DrawTickMarks.h"
#include "sound/GraphWave.h"
#include "platform/audio/SaveWaveHeader.h"
#include "sound/SoundDocument.h"
#include "sound/WaveEnvelope.h"
#include "platform/audio/WaveFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::int64_t Rate = 44100;
constexpr std::int64_t Frames = 3600 * Rate;
constexpr std::int64_t DataBytes = Frames * 4;

// A one-hour 44100 Hz stereo 16-bit file, made once and kept in the temporary folder.
QString MakeHourFile()
{
    const QString path = QDir::tempPath() + "/kivra-bench-3600s-44100-2-16.wav";
    if (QFile(path).size() == 44 + DataBytes)
        return path;
    std::printf("making %s (%.0f MB, once)\n", qPrintable(path), (44 + DataBytes) / 1e6);
    QFile f(path + ".part");
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    // The header KIVRA itself writes for exported sounds.
    const QByteArray h = WaveHeaderBytes(2, Rate, 16, Frames).value_or(QByteArray());
    f.write(h);
    std::vector<qint16> block(2 * Rate);
    for (std::int64_t second = 0; second < 3600; ++second) {
        for (std::int64_t i = 0; i < Rate; ++i) {
            const double t = double(second * Rate + i) / Rate;
            block[2 * i] = qint16(12000 * std::sin(2 * M_PI * 440 * t));
            block[2 * i + 1] = qint16(9000 * std::sin(2 * M_PI * 261.6 * t));
        }
        if (f.write(reinterpret_cast<const char*>(block.data()), qint64(block.size() * 2)) !=
            qint64(block.size() * 2))
            return {};
    }
    f.close();
    QFile::remove(path);
    QFile::rename(path + ".part", path);
    return path;
}

// One pass over the file with plain 1 MB reads: the reference.
double ReadWholeFileMs(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    std::vector<char> buffer(1 << 20);
    std::int64_t total = 0;
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;)
        total += n;
    ::close(fd);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (total != 44 + DataBytes)
        std::printf("short read: %lld bytes\n", static_cast<long long>(total));
    return ms;
}

// What the analyser does when it opens the file: read the header, draw, draw the scale.
double OpenAndDrawMs(const QString& path, GraphLayout& layout)
{
    QElapsedTimer timer;
    timer.start();
    SoundDocument doc;
    WaveFile file;
    if (!doc.LoadFileData(file, path, 1).ok())
        return -1;
    Surface p2(10060, 1928), p4(10060, 1928), p5(10060, 1928), p7(10060, 1928);
    Surface window(11025, 7575);
    ColumnTable table;
    GraphWave graph(p2, p4, p5, p7, table);
    graph.SetEqualise(false);
    layout = graph.Draw(file, doc.dataStart(), doc.totalSamples(), doc.bitsPerSample(),
                        doc.channelMode());
    file.Close();
    DrawTickMarks(window, {300, 600, 10104, 3870}, doc, false);
    return timer.nsecsElapsed() / 1e6;
}

// The reads alone: the header and one frame per unit, as the drawing does them.
double ReadsAloneMs(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    SoundDocument doc;
    WaveFile file;
    if (!doc.LoadFileData(file, path, 1).ok())
        return -1;
    const double perUnit = double(doc.totalSamples()) / 10060;
    unsigned char frame[4];
    unsigned sum = 0;
    for (int x = 1; x <= GraphWave::LastUnit; ++x) {
        file.Seek(doc.dataStart() + 4 * std::int64_t(std::floor(x * perUnit)));
        file.Read(frame, 4);
        sum += frame[0];
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    return sum == 0xFFFFFFFF ? -ms : ms;
}

// The true envelope of the whole hour, as the analyser computes it after the quick drawing.
double EnvelopeMs(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    SoundDocument doc;
    WaveFile file;
    if (!doc.LoadFileData(file, path, 1).ok())
        return -1;
    Surface p2(10060, 1928), p4(10060, 1928), p5(10060, 1928), p7(10060, 1928);
    ColumnTable table;
    GraphWave graph(p2, p4, p5, p7, table);
    const auto job = graph.EnvelopeOf(path, doc.dataStart(), doc.totalSamples(), doc.bitsPerSample(),
                                      doc.channelMode());
    const std::atomic_bool cancel{false};
    const auto envelope = job ? ComputeEnvelope(*job, cancel) : std::nullopt;
    if (!envelope) return -1;
    graph.DrawEnvelope(*envelope, doc.bitsPerSample(), doc.channelMode(), 0);
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString path = MakeHourFile();
    if (path.isEmpty()) {
        std::printf("could not write the test file\n");
        return 1;
    }

    bench::Begin("one-hour 44100 Hz stereo 16-bit WAV (635 MB), page cache warm: open + draw, and the true envelope");
    // Warm both: the file in the page cache, the code paths once.
    GraphLayout layout;
    ReadWholeFileMs(path);
    OpenAndDrawMs(path, layout);
    EnvelopeMs(path);

    constexpr int runs = 7;
    const auto t = bench::Rotate(runs, {{{}, {}, [&] { return OpenAndDrawMs(path, layout); }},
                                        {{}, {}, [&] { return ReadsAloneMs(path); }},
                                        {{}, {}, [&] { return ReadWholeFileMs(path); }},
                                        {{}, {}, [&] { return EnvelopeMs(path); }}});
    const bench::Timings& open = t[0];
    const bench::Timings& reads = t[1];
    const bench::Timings& read = t[2];
    const bench::Timings& envelope = t[3];
    std::printf("  %d runs of each, in turn; medians (bests)\n", runs);
    std::printf("  open + draw (reader, GraphWave per-unit tag %s, tick marks): %8.2f ms (best %.2f)\n",
                qPrintable(layout.ampTag), open.median(), open.best());
    std::printf("    of which the header and 9999 positioned reads alone:        %8.2f ms (best %.2f)\n",
                reads.median(), reads.best());
    std::printf("  open + draw = %.2f%% of one read of the file\n", 100.0 * open.median() / read.median());
    bench::PrintComparison("envelope (one pass, min/max of 10000 units, redrawn)", {envelope, read},
                           "reference: reading the file once, start to end", 1.2);
    std::printf("  goal (envelope at most 1.2 x one read of the file): %s\n",
                envelope.median() <= 1.2 * read.median() ? "met" : "NOT MET");
    bench::End();
    return 0;
}
