// The recording's file: a valid WAV at every moment, whole frames only, the size limit, a disk
// that refuses more, the saved copy; and the ring between the input and the file.
#include "platform/audio/RingBuffer.h"
#include "platform/audio/WaveRecordingFile.h"
#include "recorder/RecordingChecks.h"
#include "recorder/RecordingDevice.h"
#include "platform/audio/SaveWaveHeader.h"
#include "support/TempDir.h"
#include "support/Tools.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {
QByteArray Frames(int count, int blockAlign)
{
    QByteArray bytes;
    for (int i = 0; i < count * blockAlign; ++i) bytes.append(char(i * 7));
    return bytes;
}

// The data size the file's header states and the bytes after the header.
std::pair<quint32, qint64> StatedAndHeld(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {0, -1};
    const QByteArray all = f.readAll();
    const quint32 stated = quint32(quint8(all[40])) | quint32(quint8(all[41])) << 8 |
                           quint32(quint8(all[42])) << 16 | quint32(quint8(all[43])) << 24;
    return {stated, all.size() - 44};
}
}

TEST(WaveRecordingFile, IsAValidWaveAfterEveryBlockAndKeepsOnlyWholeFrames)
{
    TempDir dir;
    WaveRecordingFile file;
    ASSERT_TRUE(file.create(dir.file("rec.wav"), PcmFormat{8000, 2, 16}));
    EXPECT_EQ(StatedAndHeld(dir.file("rec.wav")), std::make_pair(0u, qint64(0)));

    const QByteArray sound = Frames(2000, 4);
    // Blocks that cut frames in two: 3 bytes, then 4001, then the rest.
    ASSERT_TRUE(file.append(sound.constData(), 3));
    EXPECT_EQ(StatedAndHeld(dir.file("rec.wav")), std::make_pair(0u, qint64(0)));
    ASSERT_TRUE(file.append(sound.constData() + 3, 4001));
    EXPECT_EQ(StatedAndHeld(dir.file("rec.wav")), std::make_pair(4004u, qint64(4004)));
    ASSERT_TRUE(file.append(sound.constData() + 4004, sound.size() - 4004));
    EXPECT_EQ(file.dataBytes(), 8000);
    EXPECT_EQ(file.frames(), 2000);

    // sox reads it while it is still open for writing, as after a crash.
    const SoxFormat f = ReadWithSox(dir.file("rec.wav"));
    ASSERT_TRUE(f.read);
    EXPECT_EQ(f.rate, 8000);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.frames, 2000);
    file.close();
    QFile written(dir.file("rec.wav"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().mid(44), sound);
}

TEST(WaveRecordingFile, TruncatingKeepsTheFirstFramesAndNeverLengthens)
{
    TempDir dir;
    WaveRecordingFile file;
    ASSERT_TRUE(file.create(dir.file("rec.wav"), PcmFormat{8000, 1, 16}));
    const QByteArray sound = Frames(100, 2);
    ASSERT_TRUE(file.append(sound.constData(), sound.size()));
    EXPECT_TRUE(file.truncate(150));
    EXPECT_EQ(file.frames(), 100);
    EXPECT_TRUE(file.truncate(60));
    EXPECT_EQ(StatedAndHeld(dir.file("rec.wav")), std::make_pair(120u, qint64(120)));
    ASSERT_TRUE(file.append(sound.constData(), 2));   // goes on after the cut
    EXPECT_EQ(file.frames(), 61);
}

TEST(WaveRecordingFile, StopsAtItsLargestSizeWithEveryFrameThatFitted)
{
    TempDir dir;
    WaveRecordingFile file;
    ASSERT_TRUE(file.create(dir.file("rec.wav"), PcmFormat{8000, 1, 16}, 1001));   // 500 frames
    EXPECT_EQ(file.maxDataBytes(), 1000);
    const QByteArray sound = Frames(600, 2);
    EXPECT_TRUE(file.append(sound.constData(), 800));
    EXPECT_FALSE(file.append(sound.constData() + 800, 400));
    EXPECT_EQ(file.fault(), WaveRecordingFile::Fault::SizeLimit);
    EXPECT_EQ(StatedAndHeld(dir.file("rec.wav")), std::make_pair(1000u, qint64(1000)));
    EXPECT_FALSE(file.append(sound.constData(), 2));   // nothing more is taken
    EXPECT_EQ(file.dataBytes(), 1000);
}

TEST(WaveRecordingFile, TheLargestSizeIsWhatTheWaveHeaderDescribes)
{
    // KIVRA's header writer keeps every size within the signed 32-bit range its reader takes.
    const std::int64_t largest = WaveRecordingFile::LargestData(PcmFormat{44100, 2, 16});
    EXPECT_EQ(largest % 4, 0);
    EXPECT_TRUE(WaveHeaderBytes(2, 44100, 16, largest / 4));
    EXPECT_FALSE(WaveHeaderBytes(2, 44100, 16, largest / 4 + 1));
    EXPECT_GT(largest, std::int64_t(2000) * 1000 * 1000);
}

TEST(WaveRecordingFile, ADiskThatRefusesMoreLeavesAValidWaveOfWhatFitted)
{
    TempDir dir;
    WaveRecordingFile file;
    ASSERT_TRUE(file.create(dir.file("rec.wav"), PcmFormat{11025, 1, 16}));
    const QByteArray sound = Frames(4000, 2);
    ASSERT_TRUE(file.append(sound.constData(), 2000));

    // The file may grow to 44 + 5001 bytes, as on a disk that fills up: the write in progress
    // is cut short mid-frame.
    struct rlimit previous;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = previous;
    small.rlim_cur = 44 + 5001;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool took = file.append(sound.constData() + 2000, 6000);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(took);
    EXPECT_EQ(file.fault(), WaveRecordingFile::Fault::DiskFull);
    EXPECT_FALSE(file.errorString().isEmpty());
    EXPECT_EQ(file.dataBytes(), 5000);
    EXPECT_EQ(StatedAndHeld(dir.file("rec.wav")), std::make_pair(5000u, qint64(5000)));
    const SoxFormat f = ReadWithSox(dir.file("rec.wav"));
    ASSERT_TRUE(f.read);
    EXPECT_EQ(f.frames, 2500);

    // What was kept is saved whole.
    ASSERT_TRUE(file.saveCopy(dir.file("kept.wav")));
    EXPECT_EQ(StatedAndHeld(dir.file("kept.wav")), std::make_pair(5000u, qint64(5000)));
}

TEST(WaveRecordingFile, ACopyIsWrittenWholeOrNotAtAll)
{
    TempDir dir;
    WaveRecordingFile file;
    ASSERT_TRUE(file.create(dir.file("rec.wav"), PcmFormat{6000, 1, 8}));
    const QByteArray sound = Frames(6000, 1);
    ASSERT_TRUE(file.append(sound.constData(), sound.size()));
    file.close();

    QFile old(dir.file("old.wav"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the user's earlier take");
    old.close();
    // The recording's own file is gone: the copy fails and the earlier file stays as it was.
    ASSERT_TRUE(QFile::rename(dir.file("rec.wav"), dir.file("moved.wav")));
    QString why;
    EXPECT_FALSE(file.saveCopy(dir.file("old.wav"), &why));
    EXPECT_FALSE(why.isEmpty());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the user's earlier take"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);   // no temporary file left

    ASSERT_TRUE(QFile::rename(dir.file("moved.wav"), dir.file("rec.wav")));
    EXPECT_TRUE(file.saveCopy(dir.file("old.wav")));
    EXPECT_EQ(ReadWithSox(dir.file("old.wav")).frames, 6000);
}

TEST(RingBuffer, BlocksWrapAroundAndAFullRingDropsWholeBlocks)
{
    RingBuffer ring(10);   // rounded up to 16 bytes
    EXPECT_EQ(ring.capacity(), 16u);
    char out[16];
    ASSERT_TRUE(ring.write("abcdefghij", 10));
    EXPECT_EQ(ring.read(out, 6), 6u);
    EXPECT_EQ(QByteArray(out, 6), "abcdef");
    ASSERT_TRUE(ring.write("0123456789", 10));   // wraps past the end
    EXPECT_FALSE(ring.write("xyz", 3));          // 14 held, 2 free: dropped whole
    EXPECT_EQ(ring.dropped(), 3u);
    EXPECT_EQ(ring.available(), 14u);
    EXPECT_EQ(ring.read(out, 16), 14u);
    EXPECT_EQ(QByteArray(out, 14), "ghij0123456789");
    EXPECT_EQ(ring.read(out, 16), 0u);
}
