// processimage on pictures ImageMagick makes, each operation against an independent result:
// ImageMagick's own flips and negation, and the image library called directly for the
// adjustments, rescale filters, rotations and the order of the steps.
#include "FreeImageOracle.h"
#include "ImagingFixtures.h"
#include "ImageFiles.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "imaging/file/BitmapPicture.h"
#include "imaging/pipeline/ImageProcessor.h"
#include "platform/system/FileTimes.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
class PipelineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ToolAvailable("convert")) GTEST_SKIP() << "ImageMagick's convert is missing";
        ASSERT_TRUE(MakePlasma(source, 40, 30));
        processor.state.saveresults = true;
    }

    // Every operation off, rescale included: the picture passes unchanged.
    static ImageOptions Plain()
    {
        ImageOptions o;
        o.rescale = false;
        return o;
    }

    // processimage from plasma.png into the named output; the output's pixels.
    QImage run(const ImageOptions& options, const QString& output = "out.png")
    {
        QFile::remove(dir.file(output));
        last = processor.processimage("plasma.png", dir.path() + "/", output, dir.path() + "/", options);
        EXPECT_TRUE(last.ok);
        for (const Outcome& m : last.messages) ADD_FAILURE() << m.message.toStdString();
        return Pixels(dir.file(output));
    }

    QImage magick(const QStringList& operations)
    {
        const QString reference = dir.file("magick.png");
        EXPECT_TRUE(Convert(QStringList{source} + operations + QStringList{reference}));
        return Pixels(reference);
    }

    TempDir dir;
    const QString source = dir.file("plasma.png");
    ImageProcessor processor;
    ProcessOutcome last;
};
}

TEST_F(PipelineTest, NothingSelectedWritesThePictureUnchanged)
{
    EXPECT_EQ(LargestDifference(run(Plain()), Pixels(source)), 0);
    EXPECT_TRUE(last.written);
    EXPECT_TRUE(processor.state.workingbitmap.isNull());
}

TEST_F(PipelineTest, FlipsAndInversionMatchImageMagick)
{
    ImageOptions o = Plain();
    o.flipHorizontal = true;
    EXPECT_EQ(LargestDifference(run(o), magick({"-flop"})), 0);
    o = Plain();
    o.flipVertical = true;
    EXPECT_EQ(LargestDifference(run(o), magick({"-flip"})), 0);
    o = Plain();
    o.invert = true;
    EXPECT_EQ(LargestDifference(run(o), magick({"-negate"})), 0);
    o.flipHorizontal = o.flipVertical = true;
    EXPECT_EQ(LargestDifference(run(o), magick({"-flop", "-flip", "-negate"})), 0);
}

// A picture with an alpha channel keeps its transparency: inverted, an opaque PNG stays opaque
// (the library alone would make it invisible) and a half-transparent one stays half-transparent.
TEST_F(PipelineTest, InversionKeepsTransparency)
{
    ImageOptions o = Plain();
    o.invert = true;
    for (const char* alpha : {"opaque", "on"}) {
        SCOPED_TRACE(alpha);
        ASSERT_TRUE(Convert({source, "-alpha", alpha, "PNG32:" + dir.file("alpha.png")}));
        QFile::remove(dir.file("out.png"));
        const ProcessOutcome outcome =
            processor.processimage("alpha.png", dir.path() + "/", "out.png", dir.path() + "/", o);
        ASSERT_TRUE(outcome.written);
        ASSERT_TRUE(Convert({dir.file("alpha.png"), "-channel", "RGB", "-negate", "+channel",
                             "PNG32:" + dir.file("magick.png")}));
        EXPECT_EQ(LargestDifference(Pixels(dir.file("out.png")), Pixels(dir.file("magick.png"))), 0);
        EXPECT_EQ(qAlpha(Pixels(dir.file("out.png")).pixel(5, 5)), qAlpha(Pixels(dir.file("alpha.png")).pixel(5, 5)));
    }
}

TEST_F(PipelineTest, AdjustmentsMatchTheLibrarysOwnResults)
{
    const QImage original = Pixels(source);
    struct Case {
        int contrast, brightness, gamma;
        LibraryStep step;
    } cases[] = {
        {40, 0, 0, {LibraryStep::Contrast, 40}},
        {-60, 0, 0, {LibraryStep::Contrast, -60}},
        {0, 25, 0, {LibraryStep::Brightness, 25}},
        {0, -30, 0, {LibraryStep::Brightness, -30}},
        {0, 0, 30, {LibraryStep::Gamma, 4.0}},     // 1 + 30 / 10
        {0, 0, -50, {LibraryStep::Gamma, 0.501}},  // 1.001 - 50 / 100
    };
    for (const Case& c : cases) {
        ImageOptions o = Plain();
        o.contrast = c.contrast;
        o.brightness = c.brightness;
        o.gamma = c.gamma;
        const QImage result = run(o);
        EXPECT_EQ(LargestDifference(result, LibraryResult(source, {c.step})), 0)
            << c.contrast << " " << c.brightness << " " << c.gamma;
        EXPECT_GT(LargestDifference(result, original), 10) << "the operation changed nothing";
    }
}

TEST_F(PipelineTest, RescaleFiltersFollowTheResizeOption)
{
    const int filters[] = {LibraryFilterBSpline(), LibraryFilterCatmullRom(), LibraryFilterBox()};
    QImage results[3];
    for (int option = 0; option < 3; ++option) {
        ImageOptions o = Plain();
        o.rescale = true;
        o.resizeOption = option;
        o.widthPixels = "25";
        o.heightPixels = "17";
        results[option] = run(o);
        EXPECT_EQ(results[option].size(), QSize(25, 17));
        EXPECT_EQ(LargestDifference(results[option],
                                    LibraryResult(source, {{LibraryStep::Rescale, 0, 25, 17, filters[option]}})),
                  0)
            << option;
    }
    // The three filters give three different pictures, so a swapped filter would be seen.
    EXPECT_GT(LargestDifference(results[0], results[1]), 0);
    EXPECT_GT(LargestDifference(results[1], results[2]), 0);
    EXPECT_GT(LargestDifference(results[0], results[2]), 0);
}

TEST_F(PipelineTest, RotationFollowsTheOptionButtons)
{
    const struct {
        int option;
        const char* other;
        double angle;
    } cases[] = {{0, "0", -90}, {1, "0", 90}, {2, "0", 180}, {3, "0", 270}, {4, "33.5", 33.5}};
    for (const auto& c : cases) {
        ImageOptions o = Plain();
        o.rotate = true;
        o.rotateOption = c.option;
        o.rotateAngle = c.other;
        const QImage result = run(o);
        EXPECT_EQ(LargestDifference(result, LibraryResult(source, {{LibraryStep::Rotate, c.angle}})), 0)
            << c.angle;
    }
    ImageOptions o = Plain();
    o.rotate = true;
    o.rotateOption = 1;
    EXPECT_EQ(run(o).size(), QSize(30, 40));
    o.rotateOption = -1;   // no button selected: no rotation
    EXPECT_EQ(LargestDifference(run(o), Pixels(source)), 0);
}

TEST_F(PipelineTest, CropCopiesTheExactPixelsInsideItsEdges)
{
    ImageOptions o = Plain();
    o.crop = true;
    o.cropLeft = "5";
    o.cropTop = "4";
    o.cropRight = "15";
    o.cropBottom = "12";
    const QImage result = run(o);
    const QImage original = Pixels(source);
    ASSERT_EQ(result.size(), QSize(10, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(result.pixel(x, y), original.pixel(x + 5, y + 4)) << x << "," << y;
}

// Flips and adjustments come before the rescale, and the crop's edges are pixels of the
// rescaled image.
TEST_F(PipelineTest, RescaleComesAfterTheAdjustmentsAndBeforeTheCrop)
{
    ImageOptions o = Plain();
    o.contrast = 50;
    o.rescale = true;
    o.widthPixels = "20";
    o.heightPixels = "15";
    o.crop = true;
    o.cropLeft = "2";
    o.cropTop = "3";
    o.cropRight = "20";
    o.cropBottom = "15";
    const QImage result = run(o);
    const int filter = LibraryFilterCatmullRom();
    EXPECT_EQ(LargestDifference(result, LibraryResult(source, {{LibraryStep::Contrast, 50},
                                                               {LibraryStep::Rescale, 0, 20, 15, filter},
                                                               {LibraryStep::Copy, 0, 2, 3, 20, 15}})),
              0);
    EXPECT_GT(LargestDifference(result, LibraryResult(source, {{LibraryStep::Rescale, 0, 20, 15, filter},
                                                               {LibraryStep::Contrast, 50},
                                                               {LibraryStep::Copy, 0, 2, 3, 20, 15}})),
              0);
    // The same edges on the picture as loaded would copy other pixels.
    EXPECT_GT(LargestDifference(result, LibraryResult(source, {{LibraryStep::Contrast, 50},
                                                               {LibraryStep::Copy, 0, 2, 3, 20, 15}})),
              0);
}

TEST_F(PipelineTest, OutputsNamedJpegOrTiffAreReportedAsNotSupported)
{
    for (const char* name : {"out.jpeg", "out.tiff"}) {
        last = processor.processimage("plasma.png", dir.path() + "/", name, dir.path() + "/", Plain());
        EXPECT_TRUE(last.ok) << "the pipeline ran to its end";
        EXPECT_FALSE(last.written);
        ASSERT_EQ(last.messages.size(), 1u);
        const QString word = QString(name).right(3).toUpper();
        EXPECT_EQ(last.messages[0].message, "File type with extension  " + word + " is NOT supported!");
        EXPECT_EQ(last.messages[0].title, "Save Error");
        EXPECT_FALSE(QFile::exists(dir.file(name)));
    }
    run(Plain(), "out.jpg");
    EXPECT_EQ(Identify(dir.file("out.jpg"), "%m %w %h %Q"), "JPEG 40 30 85");
}

// GIF output of a true-colour picture: the library writes GIFs of 8 bits at most, so the
// picture is palettised first instead of every such output failing.
TEST_F(PipelineTest, GifOutputOfATrueColourPictureIsWritten)
{
    run(Plain(), "out.gif");
    EXPECT_TRUE(last.written);
    EXPECT_EQ(Identify(dir.file("out.gif"), "%m %w %h"), "GIF 40 30");
}

TEST_F(PipelineTest, TheOutputCarriesTheSourcesLastWriteTime)
{
    constexpr std::int64_t written = 981173106123456789;    // 2001-02-03 04:05:06.123456789
    constexpr std::int64_t accessed = 946684800000000000;   // 2000-01-01
    ASSERT_TRUE(platform::SetFileTimes(source, accessed, written));
    last = processor.processimage("plasma.png", dir.path() + "/", "out.png", dir.path() + "/", Plain());
    ASSERT_TRUE(last.written);
    const auto output = platform::ReadFileTimes(dir.file("out.png"));
    ASSERT_TRUE(output);
    EXPECT_EQ(output->lastWrite, written);
    const auto& times = processor.state.sourcefiletimes;
    EXPECT_EQ(times[2], written);
    EXPECT_EQ(output->lastAccess, times[4]) << "the output keeps its own last-access time";
    EXPECT_GT(times[5], written) << "the output's own write time, read before it was changed";
}

TEST_F(PipelineTest, AnUnknownTypeReturnsFalseAndChangesNothing)
{
    QFile text(dir.file("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    processor.state.sourcefiletimes[2] = 42;
    last = processor.processimage("notes.txt", dir.path() + "/", "notes.png", dir.path() + "/", Plain());
    EXPECT_FALSE(last.ok);
    EXPECT_TRUE(last.messages.empty());
    EXPECT_EQ(processor.state.sourcefiletimes[2], 42);
    EXPECT_FALSE(QFile::exists(dir.file("notes.png")));
}

// Run-time errors end the run with their description; nothing is written.
TEST_F(PipelineTest, ErrorsEndTheRunWithTheirDescription)
{
    QFile damaged(dir.file("damaged.png"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    QFile whole(source);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    damaged.write(whole.read(60));
    damaged.close();
    last = processor.processimage("damaged.png", dir.path() + "/", "d.png", dir.path() + "/", Plain());
    EXPECT_FALSE(last.ok);
    ASSERT_EQ(last.messages.size(), 1u);
    EXPECT_TRUE(last.messages[0].message.startsWith("Cannot read the image file " + dir.file("damaged.png")))
        << last.messages[0].message.toStdString();

    auto failure = [this](const ImageOptions& o) {
        last = processor.processimage("plasma.png", dir.path() + "/", "e.png", dir.path() + "/", o);
        EXPECT_FALSE(last.ok);
        return last.messages.size() == 1 ? last.messages[0].message : QString("(no single message)");
    };
    ImageOptions o = Plain();
    o.rescale = true;
    o.widthPixels = "abc";
    EXPECT_EQ(failure(o), "Type mismatch");
    o.widthPixels = "3000000000";
    EXPECT_EQ(failure(o), "Overflow");
    // Two bad boxes: the first step that takes one reports it, and within a step the first box.
    o.crop = true;
    o.cropLeft = "x";
    EXPECT_EQ(failure(o), "Overflow");
    o.rescale = false;
    o.cropLeft = "1e10";
    o.cropTop = "x";
    EXPECT_EQ(failure(o), "Overflow");
    o = Plain();
    o.rotate = true;
    o.rotateOption = 4;
    o.rotateAngle = "?";
    EXPECT_EQ(failure(o), "Type mismatch");
    // Boxes of steps not asked for may hold anything.
    o = Plain();
    o.cropLeft = "abc";
    o.rotateOption = 4;
    o.rotateAngle = "?";
    EXPECT_TRUE(processor.processimage("plasma.png", dir.path() + "/", "u.png", dir.path() + "/", o).ok);
    o = Plain();
    o.crop = true;
    o.cropRight = "41";
    o.cropBottom = "10";
    EXPECT_EQ(failure(o), "Cannot crop the image: the rectangle from (0, 0) to (41, 10) is not inside "
                          "its 40 x 30 pixels");
    EXPECT_FALSE(QFile::exists(dir.file("e.png")));
}

TEST_F(PipelineTest, WithoutSavingTheResultBecomesTheWorkingBitmap)
{
    processor.state.saveresults = false;
    ImageOptions o = Plain();
    o.flipHorizontal = true;
    last = processor.processimage(source, "", "ignored.png", "", o);
    EXPECT_TRUE(last.ok);
    EXPECT_FALSE(last.written);
    EXPECT_EQ(LargestDifference(BitmapToPicture(processor.state.workingbitmap), magick({"-flop"})), 0);
    EXPECT_FALSE(QFile::exists("ignored.png"));
}
