#include "capture/device/CapturePalette.h"

#include "PatternReader.h"
#include "support/Damage.h"
#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>

#include <random>

namespace {
QImage FourColours()
{
    QImage image(64, 64, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, 32, 32, QColor(200, 16, 16));      // 1024 pixels
    p.fillRect(32, 0, 32, 32, QColor(16, 200, 16));
    p.fillRect(0, 32, 64, 16, QColor(16, 16, 200));     // 1024
    p.fillRect(0, 48, 64, 16, QColor(248, 248, 248));   // 1024
    return image;
}

bool Within(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QByteArray PaletteBytes(quint16 count, int colours, const QByteArray& before = {})
{
    QByteArray data(4 + 4 * colours, '\0');
    qToLittleEndian<quint16>(0x300, data.data());
    qToLittleEndian<quint16>(count, data.data() + 2);
    QByteArray chunk = "data" + QByteArray(4, '\0') + data;
    qToLittleEndian<quint32>(quint32(data.size()), chunk.data() + 4);
    QByteArray riff = "RIFF" + QByteArray(4, '\0') + "PAL " + before + chunk;
    qToLittleEndian<quint32>(quint32(riff.size() - 8), riff.data() + 4);
    return riff;
}
} // namespace

TEST(CapturePalette, MedianCutFindsTheColoursOfThePictures)
{
    ColourHistogram histogram;
    EXPECT_TRUE(histogram.medianCut(16).isEmpty());
    histogram.add(FourColours());
    EXPECT_EQ(histogram.total(), 64u * 64u);
    const QVector<QRgb> palette = histogram.medianCut(16);
    ASSERT_EQ(palette.size(), 4) << "no more colours than the pictures have";
    for (QRgb wanted : {qRgb(200, 16, 16), qRgb(16, 200, 16), qRgb(16, 16, 200), qRgb(248, 248, 248)}) {
        const bool found = std::any_of(palette.begin(), palette.end(),
                                       [&](QRgb c) { return Within(c, wanted, 4); });
        EXPECT_TRUE(found) << std::hex << wanted;
    }
    // Two colours for four: the boxes split the most populous colours apart.
    const QVector<QRgb> two = histogram.medianCut(2);
    EXPECT_EQ(two.size(), 2);
    EXPECT_NE(two[0], two[1]);
}

TEST(CapturePalette, ManyColoursGiveAFullPaletteThatMapsPicturesClosely)
{
    QImage gradient(256, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 256; ++x) gradient.setPixel(x, y, qRgb(x, y * 4, 255 - x));
    ColourHistogram histogram;
    histogram.add(gradient);
    const QVector<QRgb> palette = histogram.medianCut(64);
    ASSERT_EQ(palette.size(), 64);
    const PaletteMap map(palette);
    const QImage indexed = map.apply(gradient);
    ASSERT_EQ(indexed.format(), QImage::Format_Indexed8);
    EXPECT_EQ(indexed.colorTable(), palette);
    // Each pixel becomes a colour near its own (64 colours over this gradient: within 48 levels).
    int worst = 0;
    for (int y = 0; y < 64; y += 7)
        for (int x = 0; x < 256; x += 5) {
            const QRgb a = gradient.pixel(x, y), b = indexed.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    EXPECT_LE(worst, 48);
    // Exact palette colours map to themselves.
    for (int i = 0; i < palette.size(); i += 9) EXPECT_EQ(palette[map.indexOf(palette[i])], palette[i]);
    EXPECT_TRUE(PaletteMap({}).apply(gradient).isNull());
}

TEST(CapturePalette, PaletteFilesRoundTripAndHostileFilesAreRefused)
{
    TempDir dir;
    const QVector<QRgb> palette{qRgb(1, 2, 3), qRgb(250, 128, 0), qRgb(0, 0, 0)};
    const QString path = dir.file("three.pal");
    ASSERT_TRUE(WritePaletteFile(path, palette));
    EXPECT_EQ(QFileInfo(path).size(), 24 + 12);
    EXPECT_EQ(ReadPaletteFile(path), palette);

    auto readBytes = [&](const QByteArray& bytes) {
        QFile f(dir.file("odd.pal"));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        f.close();
        return ReadPaletteFile(f.fileName());
    };
    // A chunk of odd length before the data, padded as RIFF pads.
    EXPECT_EQ(readBytes(PaletteBytes(2, 2, QByteArray("note") + QByteArray("\x03\0\0\0abc\0", 8)))->size(), 2);
    EXPECT_FALSE(readBytes(PaletteBytes(0, 0)));
    EXPECT_FALSE(readBytes(PaletteBytes(300, 300)));
    EXPECT_FALSE(readBytes(PaletteBytes(16, 8))) << "count larger than the chunk";
    EXPECT_FALSE(readBytes(PaletteBytes(16, 16).left(40))) << "truncated";
    EXPECT_FALSE(readBytes("RIFF\x10\0\0\0WAVEdata"));
    EXPECT_FALSE(ReadPaletteFile(dir.file("missing.pal")));

    EXPECT_FALSE(WritePaletteFile(dir.file("no/folder/x.pal"), palette));
    EXPECT_FALSE(WritePaletteFile(path, {}));
    EXPECT_EQ(ReadPaletteFile(path), palette) << "a refused write leaves the file as it was";
}

TEST(TestPatternPicture, CounterStripReadsBack)
{
    for (qint64 counter : {0LL, 1LL, 12345LL, (1LL << 24) - 1}) {
        for (QSize size : {QSize(640, 480), QSize(320, 240), QSize(176, 144)}) {
            const QImage frame = testpattern::Frame(size, counter, QDateTime::currentDateTime());
            EXPECT_EQ(frame.size(), size);
            EXPECT_EQ(PatternCounter(frame), counter) << size.width();
        }
    }
    // Frames differ from one to the next (the bars move).
    const QDateTime t = QDateTime::currentDateTime();
    EXPECT_NE(testpattern::Frame({320, 240}, 4, t).copy(0, 0, 320, 40),
              testpattern::Frame({320, 240}, 5, t).copy(0, 0, 320, 40));
}

// Two hundred damaged copies of a palette file with a chunk before its colours: each is refused
// or gives what a palette can hold, and the palettes given map pictures.
TEST(CapturePalette, DamagedPaletteFilesAreRefusedOrGiveAUsablePalette)
{
    TempDir dir;
    QByteArray original = PaletteBytes(256, 256, QByteArray("note") + QByteArray("\x05\0\0\0notes\0", 10));
    for (int i = 0; i < 256; ++i) {
        char* e = original.data() + original.size() - 4 * 256 + 4 * i;
        e[0] = char(i);
        e[1] = char(255 - i);
        e[2] = char(i * 7);
    }
    std::mt19937 random(20261208);
    int refused = 0, accepted = 0;
    for (int i = 0; i < 200; ++i) {
        const QString path = dir.file(QString("damaged%1.pal").arg(i));
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(Damaged(original, i, random));
        }
        const std::optional<QVector<QRgb>> palette = ReadPaletteFile(path);
        if (!palette) {
            ++refused;
            continue;
        }
        ASSERT_GE(palette->size(), 1) << path.toStdString();
        ASSERT_LE(palette->size(), 256) << path.toStdString();
        // Building a map finds the nearest colour for each of 32768: a few maps are enough.
        if (++accepted <= 3) {
            EXPECT_FALSE(PaletteMap(*palette).apply(FourColours()).isNull());
        }
    }
    // Every truncated copy has lost colours the count promises, so it is refused.
    EXPECT_GE(refused, 50);
    EXPECT_LT(refused, 200);
}
