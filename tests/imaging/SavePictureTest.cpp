#include "ImagingFixtures.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "imaging/file/SaveFormat.h"
#include "imaging/file/SavePicture.h"
#include "platform/ui/CommonDialog.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
class SavePictureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ToolAvailable("identify")) GTEST_SKIP() << "ImageMagick's identify is missing";
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files); }

    TempDir dir;
    ScopedFilterPrompts prompts;
    CommonDialog dialog;
    const QImage picture = QuadrantPicture(60, 40);
};
}

TEST_F(SavePictureTest, TheJpgEntryAddsItsExtensionToABareNameAndSetsUpTheDialog)
{
    dialog.FileName = "/somewhere/last.wav";   // the frame's dialog remembers the last file
    prompts->QueueSave(dir.file("picture"), 1);
    ReportFailure(SavePictureWithDialog(picture, "Save FFT graph as..", dialog, "85"));

    EXPECT_EQ(Identify(dir.file("picture.JPG"), "%m %w %h %Q"), "JPEG 60 40 85");
    EXPECT_EQ(files(), QStringList{"picture.JPG"});
    EXPECT_TRUE(prompts->messages().isEmpty());
    EXPECT_EQ(prompts->seen.flags & 524288, 524288);
    EXPECT_EQ(prompts->seen.flags & 2, 2);     // replacing a file is confirmed
    EXPECT_EQ(prompts->seen.title, "Save FFT graph as..");
    EXPECT_EQ(prompts->seen.defaultExt, ".JPG");
    EXPECT_EQ(prompts->seen.filter, QString::fromLatin1(savetypefilter));
    EXPECT_EQ(prompts->seen.filterIndex, 0);
    EXPECT_FALSE(prompts->seen.cancelError);
}

TEST_F(SavePictureTest, ANameWithAnotherExtensionGetsTheChosenEntrysData)
{
    prompts->QueueSave(dir.file("picture.png"), 1);
    ReportFailure(SavePictureWithDialog(picture, "t", dialog, "85"));
    EXPECT_EQ(Identify(dir.file("picture.png"), "%m"), "JPEG");

    // Without a chosen entry the name's own ending decides.
    prompts->QueueSave(dir.file("graph.gif"), 0);
    ReportFailure(SavePictureWithDialog(picture, "t", dialog, "85"));
    EXPECT_EQ(Identify(dir.file("graph.gif"), "%m %w %h %[type]"), "GIF 60 40 Palette");
    EXPECT_TRUE(prompts->messages().isEmpty());
}

TEST_F(SavePictureTest, TheAllEntryIsNotSupportedAndWritesNothing)
{
    prompts->QueueSave(dir.file("picture"), 11);
    ReportFailure(SavePictureWithDialog(picture, "t", dialog, "85"));
    EXPECT_EQ(prompts->messages(), QStringList{"File type with extension  ALL is NOT supported!"});
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(SavePictureTest, AnUnreadableQualityWrites85AndShallowPicturesAreSavedInTrueColour)
{
    prompts->QueueSave(dir.file("unreadable"), 1);
    ReportFailure(SavePictureWithDialog(DetailedPicture(80, 60), "t", dialog, "abc"));
    EXPECT_EQ(Identify(dir.file("unreadable.JPG"), "%Q"), "85");

    prompts->QueueSave(dir.file("indexed"), 6);
    ReportFailure(SavePictureWithDialog(QuadrantPicture(60, 40, QImage::Format_Indexed8), "t", dialog, "85"));
    EXPECT_EQ(Identify(dir.file("indexed.TGA"), "%m %w %h %[channels]"), "TGA 60 40 srgba");

    prompts->QueueSave(dir.file("mono"), 4);
    ReportFailure(SavePictureWithDialog(QuadrantPicture(60, 40, QImage::Format_Mono), "t", dialog, "85"));
    EXPECT_EQ(Identify(dir.file("mono.PNG"), "%[channels] %z"), "srgb 8");
    EXPECT_TRUE(prompts->messages().isEmpty());
}

TEST_F(SavePictureTest, NoPictureOrACancelledDialogStopsAndFailuresAreReported)
{
    ReportFailure(SavePictureWithDialog(QImage(), "t", dialog, "85"));
    EXPECT_EQ(prompts->messages(), QStringList{"No image selected for saving!"});
    EXPECT_EQ(prompts->shown().back().title, "Save Error");
    EXPECT_EQ(prompts->shown().size(), 1u);   // no dialog was shown
    prompts->clear();

    // Cancelling must not save under the name the dialog still holds from before.
    dialog.FileName = dir.file("old.png");
    dialog.FileTitle = "old.png";
    prompts->QueueFile(std::nullopt);
    ReportFailure(SavePictureWithDialog(picture, "t", dialog, "85"));
    EXPECT_TRUE(prompts->messages().isEmpty());
    EXPECT_TRUE(files().isEmpty());

    const QString path = dir.file("missing/folder/shot.png");
    prompts->QueueSave(path, 0);
    ReportFailure(SavePictureWithDialog(picture, "t", dialog, "85"));
    EXPECT_EQ(prompts->messages(), QStringList{"Can't Save the image to" + path});
    EXPECT_EQ(prompts->shown().back().title, "Save Error");
}
