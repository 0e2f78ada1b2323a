// How control values become the library's arguments.
#include "imaging/window/FileSelection.h"
#include "imaging/pipeline/NumericText.h"
#include "imaging/pipeline/PipelineSettings.h"

#include <QSize>
#include <gtest/gtest.h>

TEST(PipelineSettings, GammaOfTheSlider)
{
    EXPECT_FALSE(GammaOf(0).has_value());
    EXPECT_DOUBLE_EQ(*GammaOf(1), 1.1);
    EXPECT_DOUBLE_EQ(*GammaOf(100), 11.0);
    EXPECT_DOUBLE_EQ(*GammaOf(-1), 0.991);
    EXPECT_NEAR(*GammaOf(-100), 0.001, 1e-12);   // 1.001 - 1 in doubles
}

TEST(PipelineSettings, RescaleTargetByReferenceSizeTurnedSizeOrPercentages)
{
    ImageOptions o;
    o.widthPixels = "320";
    o.heightPixels = "240";
    o.widthPercent = "50";
    o.heightPercent = "33";
    o.referenceWidth = 640;
    o.referenceHeight = 480;
    auto target = [&o](int w, int h) {
        const Checked<PixelSize> s = RescaleTarget(w, h, o);
        EXPECT_TRUE(s.ok()) << s.error.toStdString();
        return QSize(s.value.width, s.value.height);
    };
    // No batch: the pixel boxes, whatever the size.
    EXPECT_EQ(target(100, 100), QSize(320, 240));
    o.batchRunning = true;
    EXPECT_EQ(target(640, 480), QSize(320, 240));
    EXPECT_EQ(target(480, 640), QSize(240, 320));
    // Other sizes: whole-number percentages, truncated (333 * 50 / 100 = 166.5, 101 * 33 / 100 = 33.33).
    EXPECT_EQ(target(333, 101), QSize(166, 33));
    o.widthPercent = "1000000";
    EXPECT_EQ(RescaleTarget(3000, 10, o).error, "Overflow");
    o.widthPercent = "half";
    EXPECT_EQ(RescaleTarget(3000, 10, o).error, "Type mismatch");
    // The first box taken fails the target: the width's, or the height's for the turned size.
    o.heightPercent = "5e9";
    EXPECT_EQ(RescaleTarget(3000, 10, o).error, "Type mismatch");
    o.widthPercent = "50";
    EXPECT_EQ(RescaleTarget(3000, 10, o).error, "Overflow");
    o.widthPixels = "wide";
    o.heightPixels = "1e10";
    EXPECT_EQ(RescaleTarget(640, 480, o).error, "Type mismatch");
    EXPECT_EQ(RescaleTarget(480, 640, o).error, "Overflow");
}

TEST(PipelineSettings, BoxesAreReadOnceAndOnlyTheStepThatTakesABadOneFails)
{
    ImageOptions o;
    o.widthPixels = "320";
    o.heightPixels = "240";
    o.widthPercent = "half";
    o.cropLeft = "3000000000";
    o.rotateOption = 4;
    o.rotateAngle = "";
    PipelineOptions p = ResolveOptions(o);
    // Without a batch the percentages are not taken.
    ASSERT_TRUE(RescaleTarget(100, 100, p).ok());
    EXPECT_EQ(RescaleTarget(100, 100, p).value.width, 320);
    p.batchRunning = true;
    EXPECT_EQ(RescaleTarget(100, 100, p).error, "Type mismatch");
    EXPECT_EQ(p.cropLeft.error, "Overflow");
    EXPECT_TRUE(p.cropTop.ok());
    EXPECT_EQ(p.cropTop.value, 0);
    EXPECT_EQ(RotationAngleOf(p).error, "Type mismatch");
    o.rotateOption = -1;
    EXPECT_TRUE(RotationAngleOf(ResolveOptions(o)).ok());
    EXPECT_FALSE(RotationAngleOf(ResolveOptions(o)).value.has_value());
}

TEST(PipelineSettings, RotationAngleAndOutputTypeWord)
{
    ImageOptions o;
    EXPECT_TRUE(RotationAngleOf(o).ok());
    EXPECT_FALSE(RotationAngleOf(o).value.has_value());
    const double angles[] = {-90, 90, 180, 270};
    for (int i = 0; i < 4; ++i) {
        o.rotateOption = i;
        EXPECT_EQ(RotationAngleOf(o).value, angles[i]);
    }
    o.rotateOption = 4;
    o.rotateAngle = " -12.5 ";
    EXPECT_TRUE(RotationAngleOf(o).ok());
    EXPECT_EQ(RotationAngleOf(o).value, -12.5);
    o.rotateAngle = "";
    EXPECT_EQ(RotationAngleOf(o).error, "Type mismatch");

    EXPECT_EQ(OutputTypeWord("photo.png"), "PNG");
    EXPECT_EQ(OutputTypeWord("photo.jpeg"), "PEG");
    EXPECT_EQ(OutputTypeWord("x.tiff"), "IFF");
}

TEST(PipelineSettings, NumbersInTextBoxes)
{
    for (const char* yes : {"12", " 12 ", "-3.5", ".5", "1e3", "2D2", "&H1F", "+7"})
        EXPECT_TRUE(IsNumeric(QString(yes))) << yes;
    for (const char* no : {"", " ", "12px", "1.2.3", "e3", "&H", "--1", "."})
        EXPECT_FALSE(IsNumeric(QString(no))) << no;
    EXPECT_TRUE(TextToLong(u"2.5").ok());
    EXPECT_EQ(TextToLong(u"2.5").value, 2);
    EXPECT_EQ(TextToLong(u"3.5").value, 4);
    EXPECT_EQ(TextToLong(u"3e10").error, "Overflow");
    EXPECT_EQ(TextToLong(u"ten").error, "Type mismatch");
    EXPECT_EQ(TextToDouble(u" -12.5 ").value, -12.5);
    EXPECT_EQ(TextToDouble(u"").error, "Type mismatch");
}

TEST(FileSelection, SplitFileListAndAddBackslash)
{
    const QChar nul(0);
    EXPECT_EQ(SplitFileList("  /home/me/photos" + QString(nul) + "  a.jpg" + nul + "b c.png  "),
              QStringList({"/home/me/photos", "a.jpg", "b c.png"}));
    EXPECT_EQ(SplitFileList("/home/me/photos/one.jpg"), QStringList{"/home/me/photos/one.jpg"});
    EXPECT_EQ(AddBackslash("/home/me"), "/home/me/");
    EXPECT_EQ(AddBackslash("/home/me/"), "/home/me/");
    EXPECT_EQ(AddBackslash(""), "");
}
