// The image processor window's behaviour without the window: loading the chosen file for the
// preview, the preview's fit and the crop scale, the multiple selection, and what each failure
// says.
#include "ImageFiles.h"
#include "imaging/window/ImageProcessorSession.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "text/LoadText.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
const QSizeF kArea(8985, 6255);
}

TEST(ImageProcessorSession, APreviewShowsThePictureFittedAndTheScaleFollowsTheTarget)
{
    if (!ToolAvailable("convert")) GTEST_SKIP() << "ImageMagick's convert is missing";
    text::SetLanguage(text::Language::English);
    TempDir dir;
    ASSERT_TRUE(MakePlasma(dir.file("tall.png"), 300, 900));
    ImageProcessorSession session(kArea);
    EXPECT_EQ(session.view().previewTwips, kArea);
    session.Choose(dir.path(), "tall.png");
    ASSERT_TRUE(session.LoadPreview().ok);
    const auto& v = session.view();
    EXPECT_EQ(v.picture.size(), QSize(300, 900));
    EXPECT_EQ(std::pair(v.imageWidth, v.imageHeight), std::pair(300, 900));
    EXPECT_EQ(v.shown, 1);
    // 4500 x 13500 twips, taller than the area: the area's height.
    EXPECT_EQ(v.previewTwips, QSizeF(6255.0 * 4500 / 13500, 6255));
    ASSERT_TRUE(session.Rescale(300, 900).ok);
    EXPECT_FLOAT_EQ(session.state().previewscalex, float(6255.0 * 4500 / 13500 / 300));
    EXPECT_EQ(session.Rescale(0, 900).message, "Division by zero");
}

TEST(ImageProcessorSession, AFileTheLibraryDoesNotKnowIsSaidAndNothingIsShown)
{
    text::SetLanguage(text::Language::English);
    TempDir dir;
    QFile notes(dir.file("notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("not a picture");
    notes.close();
    ImageProcessorSession session(kArea);
    session.Choose(dir.path(), "notes.txt");
    const Outcome loaded = session.LoadPreview();
    EXPECT_EQ(loaded.message, LoadText(640));
    EXPECT_EQ(loaded.icon(), MsgIcon::None);
    EXPECT_EQ(session.view().shown, 0);
    EXPECT_EQ(session.state().currentimagefile, dir.file("notes.txt"));
}

TEST(ImageProcessorSession, AMultipleSelectionGivesTheBatchItsFilesAndTheListItsNames)
{
    ImageProcessorSession session(kArea);
    const QString nul(QChar(0));
    const auto many = session.SelectMultiple("/pics" + nul + "a.jpg" + nul + " b.jpg");
    EXPECT_EQ(many.firstName, "/pics");
    EXPECT_EQ(many.fileName, "/pics/b.jpg");
    EXPECT_EQ(session.state().batchfiles, (QStringList{"/pics", "a.jpg", "b.jpg"}));
    const auto one = session.SelectMultiple("/pics/c.jpg");
    EXPECT_EQ(one.fileName, "/pics/c.jpg");
    EXPECT_EQ(ImageProcessorSession::OutputFolderOf("/pics"), "/pics/output/");
    EXPECT_EQ(ImageProcessorSession::OutputFolderOf("/pics/"), "/pics/output/");
}
