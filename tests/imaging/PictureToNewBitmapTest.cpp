#include "ImagingFixtures.h"
#include "imaging/file/ImageBitmap.h"
#include "imaging/file/PictureToNewBitmap.h"

#include <gtest/gtest.h>

namespace {
// The bitmap holds the picture's colours at the same places (rows not mirrored, channels in
// order).
void ExpectSamePixels(const QImage& picture, const ImageBitmap& bitmap)
{
    ASSERT_EQ(bitmap.width(), picture.width());
    ASSERT_EQ(bitmap.height(), picture.height());
    const QImage rgb = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb want = rgb.pixel(x, y);
            const QRgb got = bitmap.pixel(x, y);
            ASSERT_EQ(qRed(got), qRed(want)) << x << "," << y;
            ASSERT_EQ(qGreen(got), qGreen(want)) << x << "," << y;
            ASSERT_EQ(qBlue(got), qBlue(want)) << x << "," << y;
        }
}
}

TEST(PictureToNewBitmap, ShallowPicturesBecome24BitsAndDeepOnesKeepTheirDepth)
{
    const struct {
        QImage::Format format;
        int bpp;
    } cases[] = {
        {QImage::Format_Mono, 24},      {QImage::Format_Indexed8, 24},
        {QImage::Format_Grayscale8, 24}, {QImage::Format_RGB16, 24},
        {QImage::Format_RGB888, 24},    {QImage::Format_BGR888, 24},
        {QImage::Format_RGB32, 32},     {QImage::Format_ARGB32, 32},
        {QImage::Format_RGBA8888, 32},  {QImage::Format_RGBA64, 32},
    };
    for (const auto& c : cases) {
        const QImage picture = QuadrantPicture(21, 13, c.format);
        const ImageBitmap bitmap = PictureToNewBitmap(picture);
        ASSERT_FALSE(bitmap.isNull()) << c.format;
        EXPECT_EQ(bitmap.bpp(), c.bpp) << c.format;
        // Mono and RGB16 lose colours in the picture itself; the bitmap keeps what the picture has.
        ExpectSamePixels(picture, bitmap);
    }
}

TEST(PictureToNewBitmap, KeepsAlphaAndGivesNoBitmapForAnEmptyPicture)
{
    EXPECT_TRUE(PictureToNewBitmap(QImage()).isNull());
    EXPECT_TRUE(PictureToNewBitmap(QImage(0, 10, QImage::Format_RGB32)).isNull());

    QImage picture(4, 3, QImage::Format_ARGB32);
    picture.fill(qRgba(10, 20, 30, 255));
    picture.setPixel(1, 0, qRgba(200, 100, 50, 128));
    ImageBitmap bitmap = PictureToNewBitmap(picture);
    EXPECT_EQ(qAlpha(bitmap.pixel(1, 0)), 128);
    EXPECT_EQ(qRed(bitmap.pixel(1, 0)), 200);
    EXPECT_EQ(qAlpha(bitmap.pixel(0, 2)), 255);
    bitmap = PictureToNewBitmap(QuadrantPicture(4, 4, QImage::Format_RGB32));
    EXPECT_EQ(qAlpha(bitmap.pixel(3, 3)), 255);
}
