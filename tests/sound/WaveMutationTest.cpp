// Randomly damaged copies of valid WAV files: every one either loads or is rejected, and
// whatever loads can be drawn, scaled and read for the spectrum without a negative count.
#include "sound/ColumnTable.h"
#include "sound/DrawTickMarks.h"
#include "platform/audio/GetWaveHeader.h"
#include "sound/GraphWave.h"
#include "sound/SoundDocument.h"
#include "platform/audio/WaveFile.h"
#include "platform/ui/Surface.h"
#include "support/TempDir.h"
#include "support/WavFixture.h"

#include <QFile>
#include <gtest/gtest.h>
#include <random>

namespace {

QByteArray ListChunk()
{
    return QByteArray("LIST\x1a\0\0\0INFOISFT\x0e\0\0\0Lavf59.27.100\0", 34);
}

std::vector<QByteArray> Originals()
{
    return {
        MakeWav({.channels = 2, .chunksBeforeData = ListChunk()}, Sine(300, 2, 440, 20000)),
        MakeWav({.sampleRate = 8000, .bitsPerSample = 8, .fmtChunkSize = 18}, Sine(500, 1, 300, 100, 8000, 8)),
        MakeWav({.fmtChunkSize = 40}, Sine(200, 1, 1000, 30000)),
        MakeWav({.channels = 2, .sampleRate = 11025, .bitsPerSample = 8}, Sine(150, 2, 100, 120, 11025, 8)),
    };
}

QByteArray Damage(QByteArray b, std::mt19937& rng)
{
    auto pick = [&](int n) { return int(rng() % unsigned(std::max(1, n))); };
    const quint32 extremes[] = {0, 0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 0x8000, 1, 3};
    switch (pick(4)) {
    case 0:   // a few bytes changed, mostly in the header
        for (int i = pick(4) + 1; i > 0; --i)
            b[pick(rng() % 4 ? 64 : int(b.size()))] = char(rng());
        break;
    case 1: { // a header word set to an extreme or random value
        const int at = pick(20) * 2;
        const quint32 v = pick(3) ? extremes[pick(7)] : quint32(rng());
        for (int i = 0; i < 4 && at + i < b.size(); ++i) b[at + i] = char(v >> (8 * i));
        break;
    }
    case 2:   // cut short
        b.truncate(pick(int(b.size())));
        break;
    default:  // both, and sometimes a marker torn apart
        b[pick(int(b.size()))] = char(rng());
        if (pick(2)) b.replace("data", pick(2) ? "dat\x00" : "daTa");
        b.truncate(pick(int(b.size()) + 1));
        break;
    }
    return b;
}

} // namespace

TEST(WaveMutation, DamagedFilesLoadOrFailCleanly)
{
    TempDir dir;
    const std::vector<QByteArray> originals = Originals();
    std::mt19937 rng(20240611);
    Surface p2(10060, 3856), p4(10060, 3856), p5(10060, 1928), p7(10060, 1928), window(11025, 7575);
    ColumnTable table;
    GraphWave graph(p2, p4, p5, p7, table);
    int loaded = 0, rejected = 0;

    for (int round = 0; round < 3000; ++round) {
        const QByteArray bytes = Damage(originals[round % originals.size()], rng);
        const QString path = dir.file("damaged.wav");
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
        }
        SoundDocument doc;
        WaveFile file;
        const auto result = doc.LoadFileData(file, path, 1);
        if (!result.ok()) {
            ++rejected;
            EXPECT_FALSE(file.IsOpen());
            continue;
        }
        ++loaded;
        ASSERT_GE(doc.totalSamples(), 0) << round;
        ASSERT_GE(doc.dataSize(), 0) << round;
        ASSERT_GE(doc.totalDuration(), 0) << round;
        ASSERT_GE(doc.selectionEndTicks, 0) << round;
        ASSERT_GE(doc.dataStart(), 1) << round;
        ASSERT_GT(doc.sampleRate(), 0) << round;
        ASSERT_GT(doc.blockAlign(), 0) << round;

        // Draw every fourth loaded file (the per-unit drawing of a huge size is 9999 reads).
        if (loaded % 4 == 0) {
            for (Surface* s : {&p2, &p4, &p5, &p7, &window}) s->Cls();
            graph.SetEqualise(loaded % 8 == 0);
            const GraphLayout layout = graph.Draw(file, doc.dataStart(), doc.totalSamples(),
                                                  doc.bitsPerSample(), doc.channelMode());
            ASSERT_TRUE(layout.ampTag == "0" || layout.ampTag == "1");
            DrawTickMarks(window, {300, 600, 10104, 3870}, doc, false);
        }
        file.Close();

        const WaveSamples w = GetWaveHeader(path, [](const QString&, const QString&) {
            return Answer::Retry;
        });
        ASSERT_TRUE(w.ok) << round;
        ASSERT_GE(w.frameCount, 0);
        ASSERT_EQ(w.frameCount % 4, 0);
        ASSERT_EQ(w.first.size(), std::size_t(w.frameCount) + 1);
        ASSERT_LE(std::int64_t(w.frameCount) * (doc.stereo() ? 2 : 1) * (doc.bitsPerSample() / 8),
                  bytes.size());
    }
    // The damage is varied enough to exercise both outcomes.
    EXPECT_GT(loaded, 300);
    EXPECT_GT(rejected, 300);
}
