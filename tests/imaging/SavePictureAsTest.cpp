#include "ImagingFixtures.h"
#include "support/FakeFrame.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "imaging/file/SavePictureAs.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/FrameServices.h"
#include "platform/ui/PictureBox.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {
class SavePictureAsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ToolAvailable("identify")) GTEST_SKIP() << "ImageMagick's identify is missing";
    }
    TempDir dir;
    ScopedFilterPrompts prompts;
};
}

TEST_F(SavePictureAsTest, UsesTheFramesDialogAndJpegQuality)
{
    FakeFrame frame;
    frame.quality = "40";

    PictureBox box;
    box.resize(120, 80);
    box.surface().Resize(1800, 1200);
    box.surface().FillBox(0, 0, 900, 600, QColor(0, 0, 192));
    prompts->QueueSave(dir.file("graph"), 1);
    SavePictureAs(box.picture(), "Save sound wave image as..");

    EXPECT_EQ(Identify(dir.file("graph.JPG"), "%m %w %h %Q"), "JPEG 120 80 40");
    EXPECT_EQ(frame.dialog.FileName, dir.file("graph"));   // the frame's dialog was the one shown
    EXPECT_EQ(frame.dialog.DialogTitle, "Save sound wave image as..");
    EXPECT_TRUE(prompts->messages().isEmpty());

    // The picture box's drawing arrives the right way up and in its colours.
    prompts->QueueSave(dir.file("graph.png"), 4);
    SavePictureAs(box.picture(), "Save sound wave image as..");
    const QImage back(dir.file("graph.png"));
    ASSERT_EQ(back.size(), QSize(120, 80));
    EXPECT_EQ(back.pixelColor(10, 10), QColor(0, 0, 192));
    EXPECT_EQ(back.pixelColor(100, 70), box.picture().pixelColor(100, 70));
    EXPECT_NE(back.pixelColor(100, 70), QColor(0, 0, 192));
}

TEST_F(SavePictureAsTest, WithoutAFrameAnOwnDialogAndQuality85AreUsed)
{
    prompts->QueueSave(dir.file("frame"), 1);
    SavePictureAs(DetailedPicture(64, 48), "Save single grabbed frame");
    EXPECT_EQ(Identify(dir.file("frame.JPG"), "%m %w %h %Q"), "JPEG 64 48 85");
    EXPECT_EQ(prompts->seen.title, "Save single grabbed frame");

    SavePictureAs(QImage(), "Save single grabbed frame");
    EXPECT_EQ(prompts->messages(), QStringList{"No image selected for saving!"});
}
