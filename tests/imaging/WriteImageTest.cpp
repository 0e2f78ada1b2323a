#include "ImagingFixtures.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "imaging/file/ImageBitmap.h"
#include "imaging/file/PictureToNewBitmap.h"
#include "imaging/file/SaveFormat.h"
#include "imaging/file/WriteImage.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
QByteArray Head(const QString& path, int n)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

class WriteImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ToolAvailable("identify")) GTEST_SKIP() << "ImageMagick's identify is missing";
    }
    TempDir dir;
    ScopedScriptedPrompts prompts;
};
}

// Every format of the table writes a file another program reads at the picture's size, from
// the two depths pictures arrive in. Icons must be square and at most 256 pixels.
TEST_F(WriteImageTest, EveryFormatWritesAReadableFileFrom24And32BitBitmaps)
{
    const struct {
        const char* word;
        const char* magick;
    } formats[] = {{"GIF", "GIF"}, {"BMP", "BMP3"}, {"JPG", "JPEG"}, {"TIF", "TIFF"},
                   {"PNG", "PNG"}, {"PGM", "PGM"},  {"PPM", "PPM"},  {"ICO", "ICO"},
                   {"TGA", "TGA"}, {"PBM", "PBM"}};
    for (QImage::Format depth : {QImage::Format_RGB888, QImage::Format_RGB32}) {
        const ImageBitmap bitmap = PictureToNewBitmap(QuadrantPicture(48, 48, depth));
        for (const auto& f : formats) {
            const QString path = dir.file(QString("q%1.%2").arg(bitmap.bpp()).arg(f.word));
            ASSERT_TRUE(WriteImage(bitmap, path, f.word, 85).ok) << f.word << " " << bitmap.bpp();
            EXPECT_EQ(Identify(path, "%m %w %h"), QString("%1 48 48").arg(f.magick))
                << f.word << " " << bitmap.bpp();
        }
    }
    EXPECT_TRUE(prompts->messages().isEmpty());
}

TEST_F(WriteImageTest, PixelsSurviveLosslessRoundTripsInPlaceAndColour)
{
    const QImage picture = QuadrantPicture(40, 30);
    for (QImage::Format depth : {QImage::Format_RGB888, QImage::Format_RGB32}) {
        const ImageBitmap bitmap = PictureToNewBitmap(picture.convertToFormat(depth));
        for (const char* word : {"PNG", "BMP", "PPM"}) {
            const QString path = dir.file(QString("r%1.%2").arg(bitmap.bpp()).arg(word));
            ASSERT_TRUE(WriteImage(bitmap, path, word, 85).ok) << word;
            const QImage back(path);
            ASSERT_FALSE(back.isNull()) << word;
            ASSERT_EQ(back.size(), picture.size()) << word;
            for (const QPoint p : {QPoint(1, 1), QPoint(5, 5), QPoint(35, 5), QPoint(5, 25),
                                   QPoint(35, 25), QPoint(0, 29), QPoint(39, 0)})
                EXPECT_EQ(back.pixelColor(p), picture.pixelColor(p))
                    << word << " " << bitmap.bpp() << " at " << p.x() << "," << p.y();
        }
    }
}

TEST_F(WriteImageTest, JpegQualityIsTheCallersAndLowersTheSize)
{
    const ImageBitmap bitmap = PictureToNewBitmap(DetailedPicture(160, 120));
    ASSERT_TRUE(WriteImage(bitmap, dir.file("q40.jpg"), "JPG", 40).ok);
    ASSERT_TRUE(WriteImage(bitmap, dir.file("q95.jpg"), "JPG", 95).ok);
    EXPECT_EQ(Identify(dir.file("q40.jpg"), "%Q"), "40");
    EXPECT_EQ(Identify(dir.file("q95.jpg"), "%Q"), "95");
    EXPECT_LT(QFileInfo(dir.file("q40.jpg")).size(), QFileInfo(dir.file("q95.jpg")).size() * 2 / 3);

    // Quality 0 is the lowest quality, not the library's default that a zero flag would mean.
    ASSERT_TRUE(WriteImage(bitmap, dir.file("q0.jpg"), "JPG", 0).ok);
    EXPECT_EQ(Identify(dir.file("q0.jpg"), "%Q"), "1");
}

TEST_F(WriteImageTest, EachFormatGetsTheDepthItsFilesHold)
{
    const ImageBitmap rgb = PictureToNewBitmap(QuadrantPicture(48, 48, QImage::Format_RGB888));
    ASSERT_EQ(rgb.bpp(), 24);
    ASSERT_TRUE(WriteImage(rgb, dir.file("a.tga"), "TGA", 85).ok);
    EXPECT_EQ(Identify(dir.file("a.tga"), "%[channels]"), "srgba");
    EXPECT_EQ(Head(dir.file("a.tga"), 17).at(16), char(32));   // bits per pixel in the header

    ASSERT_TRUE(WriteImage(rgb, dir.file("a.gif"), "GIF", 85).ok);
    EXPECT_EQ(Identify(dir.file("a.gif"), "%[type]"), "Palette");

    // The portable formats by their magic numbers: grey for PGM, one bit for PBM, colour for PPM.
    const ImageBitmap argb = PictureToNewBitmap(QuadrantPicture(48, 48, QImage::Format_ARGB32));
    ASSERT_TRUE(WriteImage(argb, dir.file("a.pgm"), "PGM", 85).ok);
    ASSERT_TRUE(WriteImage(argb, dir.file("a.pbm"), "PBM", 85).ok);
    ASSERT_TRUE(WriteImage(argb, dir.file("a.ppm"), "PPM", 85).ok);
    EXPECT_EQ(Head(dir.file("a.pgm"), 2), "P5");
    EXPECT_EQ(Head(dir.file("a.pbm"), 2), "P4");
    EXPECT_EQ(Head(dir.file("a.ppm"), 2), "P6");
    EXPECT_EQ(Identify(dir.file("a.pbm"), "%[type]"), "Bilevel");

    // The caller's bitmap is left as it was.
    EXPECT_EQ(rgb.bpp(), 24);
    EXPECT_EQ(argb.bpp(), 32);
}

TEST_F(WriteImageTest, AnUnknownTypeWordIsReportedAndWritesNothing)
{
    const ImageBitmap bitmap = PictureToNewBitmap(QuadrantPicture(8, 8));
    ReportFailure(WriteImage(bitmap, dir.file("x.ALL"), "ALL", 85));
    EXPECT_FALSE(QFileInfo::exists(dir.file("x.ALL")));
    ASSERT_EQ(prompts->shown().size(), 1u);
    EXPECT_EQ(prompts->shown()[0].prompt, "File type with extension  ALL is NOT supported!");
    EXPECT_EQ(prompts->shown()[0].title, "Save Error");
}

TEST_F(WriteImageTest, AFailedWriteLeavesNoFileAndKeepsAnExistingOne)
{
    // The icon writer refuses pictures that are not square.
    const ImageBitmap wide = PictureToNewBitmap(QuadrantPicture(64, 32));
    EXPECT_FALSE(WriteImage(wide, dir.file("wide.ico"), "ICO", 85).ok);
    EXPECT_FALSE(QFileInfo::exists(dir.file("wide.ico")));

    QFile keep(dir.file("keep.ico"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("precious");
    keep.close();
    EXPECT_FALSE(WriteImage(wide, dir.file("keep.ico"), "ICO", 85).ok);
    EXPECT_EQ(Head(dir.file("keep.ico"), 100), "precious");

    EXPECT_FALSE(WriteImage(wide, dir.file("no/such/folder/a.png"), "PNG", 85).ok);
    EXPECT_FALSE(WriteImage(ImageBitmap(), dir.file("null.png"), "PNG", 85).ok);
    EXPECT_FALSE(QFileInfo::exists(dir.file("null.png")));
    EXPECT_TRUE(prompts->messages().isEmpty());   // failures are the caller's to report
}
