// The capture file's colour conversion, against the BT.601 full-range formulas worked out in
// doubles here.
#include "platform/video/Rgb32ToYuv420.h"

#include <QColor>
#include <QImage>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

int Byte(double v) { return std::clamp(int(std::lround(v)), 0, 255); }
int LumaOf(double r, double g, double b) { return Byte(0.299 * r + 0.587 * g + 0.114 * b); }
int CbOf(double r, double g, double b) { return Byte(-0.168736 * r - 0.331264 * g + 0.5 * b + 128); }
int CrOf(double r, double g, double b) { return Byte(0.5 * r - 0.418688 * g - 0.081312 * b + 128); }

// The planes of a picture, with room for `pad` bytes after each row that the conversion must
// leave alone.
struct Planes {
    Planes(int width, int height, int pad = 0)
        : yStride(width + pad), cStride((width + 1) / 2 + pad), y(std::size_t(yStride * height), 0xAB),
          cb(std::size_t(cStride * ((height + 1) / 2)), 0xAB), cr(cb.size(), 0xAB)
    {
    }
    Yuv420Planes out() { return {y.data(), cb.data(), cr.data(), yStride, cStride, cStride}; }
    int Y(int x, int row) const { return y[std::size_t(row * yStride + x)]; }
    int Cb(int x, int row) const { return cb[std::size_t(row * cStride + x)]; }
    int Cr(int x, int row) const { return cr[std::size_t(row * cStride + x)]; }
    int yStride, cStride;
    std::vector<std::uint8_t> y, cb, cr;
};

Planes Convert(const QImage& picture, int pad = 0)
{
    Planes p(picture.width(), picture.height(), pad);
    Rgb32ToYuv420(picture.constBits(), int(picture.bytesPerLine()), picture.width(), picture.height(), p.out());
    return p;
}

} // namespace

TEST(Rgb32ToYuv420, PrimariesAndGreysTakeTheirFullRangeValuesAndHoldAtTheEnds)
{
    struct Case {
        QRgb colour;
        int y, cb, cr;
    };
    // Pure red and pure blue put a chroma sample past 255 before it is held there.
    const Case cases[] = {{qRgb(0, 0, 0), 0, 128, 128},       {qRgb(255, 255, 255), 255, 128, 128},
                          {qRgb(128, 128, 128), 128, 128, 128}, {qRgb(255, 0, 0), 76, 85, 255},
                          {qRgb(0, 255, 0), 150, 44, 21},       {qRgb(0, 0, 255), 29, 255, 107}};
    for (const Case& c : cases) {
        SCOPED_TRACE(QColor(c.colour).name().toStdString());
        QImage picture(4, 2, QImage::Format_RGB32);
        picture.fill(c.colour);
        const Planes p = Convert(picture);
        for (int x = 0; x < 4; ++x) EXPECT_EQ(p.Y(x, 1), c.y);
        EXPECT_EQ(p.Cb(1, 0), c.cb);
        EXPECT_EQ(p.Cr(1, 0), c.cr);
    }
}

TEST(Rgb32ToYuv420, EveryPixelKeepsItsLumaAndChromaComesFromTheAverageOfItsFourPixels)
{
    // Random colours, and random alpha that must not count.
    QImage picture(66, 34, QImage::Format_ARGB32);
    QRandomGenerator random(7);
    for (int row = 0; row < picture.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(row));
        for (int x = 0; x < picture.width(); ++x) line[x] = random.generate();
    }
    const Planes p = Convert(picture);
    int off = 0;
    for (int row = 0; row < picture.height(); ++row)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb c = picture.pixel(x, row);
            off += std::abs(p.Y(x, row) - LumaOf(qRed(c), qGreen(c), qBlue(c))) > 1;
        }
    for (int row = 0; row < picture.height() / 2; ++row)
        for (int x = 0; x < picture.width() / 2; ++x) {
            double r = 0, g = 0, b = 0;
            for (QRgb c : {picture.pixel(2 * x, 2 * row), picture.pixel(2 * x + 1, 2 * row),
                           picture.pixel(2 * x, 2 * row + 1), picture.pixel(2 * x + 1, 2 * row + 1)}) {
                r += qRed(c) / 4.0;
                g += qGreen(c) / 4.0;
                b += qBlue(c) / 4.0;
            }
            off += std::abs(p.Cb(x, row) - CbOf(r, g, b)) > 1;
            off += std::abs(p.Cr(x, row) - CrOf(r, g, b)) > 1;
        }
    EXPECT_EQ(off, 0) << "samples more than 1 away from the formulas";
}

TEST(Rgb32ToYuv420, RowsAreFoundByTheirStridesAndAnOddEdgeCoversItsLastColumnOrRow)
{
    // A 5 x 3 picture inside wider rows: red in columns 0-3 of rows 0-1, blue in column 4, green
    // in row 2; the padding of the source is white, which must not be read.
    QImage rows(8, 3, QImage::Format_RGB32);
    rows.fill(Qt::white);
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 5; ++x)
            rows.setPixel(x, row, row == 2 ? qRgb(0, 255, 0) : x == 4 ? qRgb(0, 0, 255) : qRgb(255, 0, 0));
    Planes p(5, 3, 3);
    Rgb32ToYuv420(rows.constBits(), int(rows.bytesPerLine()), 5, 3, p.out());

    EXPECT_EQ(p.Y(4, 0), 29);
    EXPECT_EQ(p.Y(0, 2), 150);
    EXPECT_EQ(p.Cr(0, 0), 255);   // red
    EXPECT_EQ(p.Cb(2, 0), 255);   // blue, the last column alone
    EXPECT_EQ(p.Cr(0, 1), 21);    // green, the last row alone
    EXPECT_EQ(p.Cb(2, 1), 44);
    // Nothing is written past the picture's width in any plane.
    for (int row = 0; row < 3; ++row)
        for (int x = 5; x < p.yStride; ++x) EXPECT_EQ(p.Y(x, row), 0xAB);
    for (int row = 0; row < 2; ++row)
        for (int x = 3; x < p.cStride; ++x) {
            EXPECT_EQ(p.Cb(x, row), 0xAB);
            EXPECT_EQ(p.Cr(x, row), 0xAB);
        }
}
