// The image processor window in the real frame, driven through its named controls.
#include "ImageFiles.h"
#include "ImagingFixtures.h"
#include "support/FrameFixture.h"
#include "support/Shots.h"
#include "support/Tools.h"
#include "imaging/window/FolderLists.h"
#include "imaging/window/PreviewImage.h"
#include "imaging/window/frm_image.h"
#include "platform/system/FileTimes.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ImageWindowTest : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        if (!ToolAvailable("convert")) GTEST_SKIP() << "ImageMagick's convert is missing";
    }

    frm_image* open()
    {
        frame.findChild<QAction*>("mnuimageprocessor")->trigger();
        auto* w = lastChild<frm_image>();
        QCoreApplication::processEvents();
        return w;
    }
    template <class T> T* control(frm_image* w, const char* name) { return w->findChild<T*>(name); }
    QString text(frm_image* w, const char* box) { return control<QLineEdit>(w, box)->text(); }

    // The user opens the folder in the folder list and clicks a file of it.
    void clickFile(frm_image* w, const QString& name)
    {
        w->findChild<FolderLists*>("folderlists")->setPath(dir.path());
        auto* list = control<QListView>(w, "File1");
        auto* model = qobject_cast<QFileSystemModel*>(list->model());
        QModelIndex index;
        QTRY_VERIFY_WITH_TIMEOUT((index = model->index(dir.file(name))).isValid() &&
                                     !list->visualRect(index).isEmpty(), 10000);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }

    // A drag on the preview from one pixel point to another.
    void drag(PreviewImage* image, QPoint from, QPoint to)
    {
        QTest::mousePress(image, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), image->mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(image, &move);
        QTest::mouseRelease(image, Qt::LeftButton, {}, to);
    }
};
}

TEST_F(ImageWindowTest, TheMenusOpenOneWindowThatCloseOnlyHides)
{
    frm_image* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->size(), QSize(frm_image::DesignWidth / 15, frm_image::DesignHeight / 15));
    EXPECT_EQ(w->windowTitle(), "Image Processing");
    auto* types = control<QComboBox>(w, "Combo_ofiletype");
    ASSERT_EQ(types->count(), 11);
    EXPECT_EQ(types->itemText(0), "Use original type");
    EXPECT_EQ(types->itemText(1), "JPG");
    EXPECT_EQ(types->itemText(10), "ICO");
    EXPECT_EQ(types->placeholderText(), "Select output file type");
    EXPECT_EQ(control<QPushButton>(w, "batch")->toolTip(), "Press the ESCAPE key to terminate batch job");
    EXPECT_EQ(control<QPushButton>(w, "mfselect")->text(), "Select multiple files  ");
    EXPECT_TRUE(control<QRadioButton>(w, "resizeoption_1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(w, "Option_rotate_0")->isChecked());
    EXPECT_EQ(control<QSlider>(w, "Slider_quality")->value(), 85);
    EXPECT_EQ(text(w, "outputfolder"), "Output");
    EXPECT_FALSE(control<QWidget>(w, "Shape_select")->isVisible());

    control<QSlider>(w, "Slider_quality")->setValue(40);
    EXPECT_EQ(text(w, "Text_quality"), "40");
    control<QLineEdit>(w, "Text_quality")->setText("70");
    EXPECT_EQ(control<QSlider>(w, "Slider_quality")->value(), 70);

    QTest::mouseClick(control<QPushButton>(w, "Closebutton"), Qt::LeftButton);
    EXPECT_FALSE(w->parentWidget()->isVisible());
    // The analyser's menu item reaches the same window, as it was left.
    WavForm* analyser = openSound(QStringLiteral(KIVRA_SAMPLES "/tuning-fork-440.wav"));
    ASSERT_NE(analyser, nullptr);
    analyser->findChild<QAction*>("mnuimageprocessor")->trigger();
    EXPECT_EQ(lastChild<frm_image>(), w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(text(w, "Text_quality"), "70");
}

TEST_F(ImageWindowTest, ThePreviewShowsSmallImagesAtTheirSizeAndFitsLargeOnes)
{
    ASSERT_TRUE(MakePlasma(dir.file("small.png"), 100, 80));
    ASSERT_TRUE(MakePlasma(dir.file("wide.jpg"), 1200, 300));
    ASSERT_TRUE(MakePlasma(dir.file("tall.gif"), 300, 900));
    frm_image* w = open();
    auto* image = control<PreviewImage>(w, "Image1");
    const struct {
        const char* name;
        QSizeF twips;
    } cases[] = {{"small.png", {1500, 1200}},
                 {"wide.jpg", {8985, 8985.0 * 4500 / 18000}},
                 {"tall.gif", {6255.0 * 4500 / 13500, 6255}}};
    for (const auto& c : cases) {
        clickFile(w, c.name);
        EXPECT_EQ(w->windowTitle(), dir.file(c.name));
        EXPECT_EQ(image->twipSize(), c.twips) << c.name;
        EXPECT_NEAR(double(image->width()) / image->height(), c.twips.width() / c.twips.height(), 0.02) << c.name;
        EXPECT_TRUE(image->hasPicture());
    }
    EXPECT_EQ(text(w, "Text_widthp"), "300");
    EXPECT_EQ(text(w, "Text_heightp"), "900");
    EXPECT_FLOAT_EQ(w->processor().state.previewscalex, float(6255.0 * 4500 / 13500 / 300));
    EXPECT_TRUE(prompts->messages().isEmpty());

    QFile notes(dir.file("notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("lesson notes");
    notes.close();
    clickFile(w, "notes.txt");
    EXPECT_EQ(prompts->messages(), QStringList{"It is NOT a graphic file or file type not supported!"});
    EXPECT_EQ(w->processor().state.currentimagefile, dir.file("notes.txt"));
    EXPECT_EQ(image->twipSize(), cases[2].twips) << "the previous preview stays";
}

TEST_F(ImageWindowTest, DraggingTheCropRectangleAnyWayGivesTheSameValues)
{
    ASSERT_TRUE(MakePlasma(dir.file("wide.png"), 1200, 300));
    frm_image* w = open();
    clickFile(w, "wide.png");
    auto* image = control<PreviewImage>(w, "Image1");
    const QPoint a(100, 20), b(400, 120), c(100, 120), d(400, 20);
    const std::pair<QPoint, QPoint> drags[] = {{a, b}, {b, a}, {c, d}, {d, c}};
    QStringList first;
    QRect shape;
    for (const auto& [from, to] : drags) {
        drag(image, from, to);
        QStringList values;
        for (const char* box : {"crop_left", "crop_top", "crop_right", "crop_bottom", "crop_width", "crop_height"})
            values << text(w, box);
        if (first.isEmpty()) {
            first = values;
            shape = control<QWidget>(w, "Shape_select")->geometry();
        }
        EXPECT_EQ(values, first);
        EXPECT_EQ(control<QWidget>(w, "Shape_select")->geometry(), shape);
        EXPECT_TRUE(control<QWidget>(w, "Shape_select")->isVisible());
    }
    // 1200 pixels across the 8985-twip preview: a pixel of the preview is two image pixels.
    const double perPixel = 1200.0 / image->width();
    EXPECT_NEAR(first[0].toDouble(), 100 * perPixel, 2);
    EXPECT_NEAR(first[2].toDouble(), 400 * perPixel, 2);
    EXPECT_NEAR(first[4].toDouble(), 300 * perPixel, 2);
    SaveShot(w, "image-crop");
}

TEST_F(ImageWindowTest, TypingSizesFollowsProportionAndZeroIsNotAllowed)
{
    ASSERT_TRUE(MakePlasma(dir.file("odd.png"), 101, 81));
    frm_image* w = open();
    clickFile(w, "odd.png");
    EXPECT_EQ(text(w, "Text_widthp"), "101");
    EXPECT_EQ(text(w, "Text_width"), "100");
    auto* width = control<QLineEdit>(w, "Text_width");
    width->selectAll();
    QTest::keyClicks(width, "50");
    EXPECT_EQ(text(w, "Text_height"), "50");
    EXPECT_EQ(text(w, "Text_widthp"), "50");
    EXPECT_EQ(text(w, "Text_heightp"), "40");
    EXPECT_TRUE(prompts->messages().isEmpty());

    auto* height = control<QLineEdit>(w, "Text_heightp");
    height->selectAll();
    QTest::keyClicks(height, "0");
    ASSERT_EQ(prompts->shown().size(), 1u);
    EXPECT_EQ(prompts->shown()[0].prompt, "Image  height = 0 %  is not allowed!");
    EXPECT_EQ(prompts->shown()[0].title, "Error");
    EXPECT_EQ(text(w, "Text_height"), "50");
    EXPECT_EQ(text(w, "Text_width"), "50");
    EXPECT_EQ(text(w, "Text_widthp"), "50");
}

TEST_F(ImageWindowTest, ApplyShowsTheResultAndRestoreTheFileAgain)
{
    ASSERT_TRUE(MakePlasma(dir.file("p.png"), 64, 48));
    ASSERT_TRUE(Convert({dir.file("p.png"), "-flop", "-resize", "32x24!", dir.file("expected.png")}));
    frm_image* w = open();
    clickFile(w, "p.png");
    auto* image = control<PreviewImage>(w, "Image1");
    control<QCheckBox>(w, "check_fliphorizontal")->setChecked(true);
    control<QLineEdit>(w, "Text_width")->setText("50");
    QTest::mouseClick(control<QPushButton>(w, "apply"), Qt::LeftButton);
    EXPECT_TRUE(prompts->messages().isEmpty()) << prompts->messages().join("|").toStdString();
    EXPECT_EQ(image->picture().size(), QSize(32, 24));
    EXPECT_LT(LargestDifference(image->picture(), Pixels(dir.file("expected.png"))), 40);
    EXPECT_EQ(w->processor().state.imagewidth, 32);

    QTest::mouseClick(control<QPushButton>(w, "Cancel"), Qt::LeftButton);
    EXPECT_EQ(LargestDifference(image->picture(), Pixels(dir.file("p.png"))), 0);
    EXPECT_EQ(text(w, "Text_widthp"), "64");
}

TEST_F(ImageWindowTest, OneFileChosenForABatchIsNoSelection)
{
    ASSERT_TRUE(MakePlasma(dir.file("one.jpg"), 40, 30));
    frm_image* w = open();
    prompts->QueueFile(dir.file("one.jpg"));
    QTest::mouseClick(control<QPushButton>(w, "mfselect"), Qt::LeftButton);
    EXPECT_EQ(w->processor().state.batchfiles, QStringList{dir.file("one.jpg")});
    EXPECT_EQ(text(w, "outputfolder"), dir.path() + "/output/");
    EXPECT_EQ(w->windowTitle(), dir.file("one.jpg")) << "the chosen file is previewed";
    QTest::mouseClick(control<QPushButton>(w, "batch"), Qt::LeftButton);
    ASSERT_EQ(prompts->shown().size(), 2u);   // the dialog, then the message
    EXPECT_EQ(prompts->shown()[1].prompt, "No files selected! ");
    EXPECT_EQ(prompts->shown()[1].title, "Batch job error");

    // The output folder is the folder the folder dialog ended in; the name typed there is not used.
    QDir(dir.path()).mkdir("results");
    prompts->QueueFile(dir.file("results/anything"));
    QTest::mouseClick(control<QPushButton>(w, "cmd_output"), Qt::LeftButton);
    EXPECT_EQ(prompts->shown().back().prompt, "Select and create folder for output...");
    EXPECT_EQ(text(w, "outputfolder"), dir.file("results") + "/");
    QTest::mouseClick(control<QPushButton>(w, "cmd_output"), Qt::LeftButton);   // cancelled
    EXPECT_EQ(text(w, "outputfolder"), dir.file("results") + "/");
}

TEST_F(ImageWindowTest, EscapeDuringABatchAsksAndStops)
{
    QString selection = dir.path();
    for (int i = 1; i <= 5; ++i) {
        ASSERT_TRUE(MakePlasma(dir.file(QString("f%1.jpg").arg(i)), 320, 240, i));
        selection += QChar(0) + QString("f%1.jpg").arg(i);
    }
    frm_image* w = open();
    prompts->QueueFile(selection);
    QTest::mouseClick(control<QPushButton>(w, "mfselect"), Qt::LeftButton);
    EXPECT_EQ(w->windowTitle(), dir.file("f5.jpg"));
    control<QComboBox>(w, "Combo_ofiletype")->setCurrentText("PNG");
    // Escape pressed in the window while it shows the second file done.
    QObject::connect(w, &QWidget::windowTitleChanged, w, [w](const QString& title) {
        if (title.endsWith("40% (2 of 5 files)")) {
            SaveShot(w, "image-batch");
            QTest::keyClick(w->findChild<QListView*>("File1"), Qt::Key_Escape);
        }
    });
    prompts->QueueAnswer(Answer::Yes);
    QTest::mouseClick(control<QPushButton>(w, "batch"), Qt::LeftButton);
    const QStringList messages = prompts->messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], "Are you sure to abort the image processing?");
    EXPECT_EQ(messages[1], "2 o ut of  5images successfully converted into the folder: " + dir.path() + "/output/");
    EXPECT_EQ(QDir(dir.file("output")).entryList(QDir::Files), QStringList({"f1.PNG", "f2.PNG"}));
    EXPECT_EQ(w->windowTitle(), dir.file("f5.jpg"));
    EXPECT_TRUE(control<QPushButton>(w, "apply")->isEnabled());
    EXPECT_FALSE(w->batchRunning());
}

TEST_F(ImageWindowTest, SaveWritesThePreviewWithItsSourcesWriteTime)
{
    frm_image* w = open();
    QTest::mouseClick(control<QPushButton>(w, "Save"), Qt::LeftButton);
    EXPECT_EQ(prompts->messages(), QStringList{"No image selected for saving!"});

    ASSERT_TRUE(MakePlasma(dir.file("src.png"), 48, 36));
    constexpr std::int64_t written = 1262304000000000000;   // 2010-01-01
    ASSERT_TRUE(platform::SetFileTimes(dir.file("src.png"), written, written));
    clickFile(w, "src.png");
    QTest::mouseClick(control<QPushButton>(w, "apply"), Qt::LeftButton);   // reads the source's times
    ScopedFilterPrompts save;
    save->QueueSave(dir.file("copy"), 4);   // the PNG entry
    QTest::mouseClick(control<QPushButton>(w, "Save"), Qt::LeftButton);
    EXPECT_TRUE(save->messages().isEmpty()) << save->messages().join("|").toStdString();
    EXPECT_EQ(save->seen.title, "Save As..");
    EXPECT_EQ(Identify(dir.file("copy.PNG"), "%m %w %h"), "PNG 48 36");
    EXPECT_EQ(platform::ReadFileTimes(dir.file("copy.PNG"))->lastWrite, written);
}

// The same window in Chinese Traditional: its captions from the text table, a preview with a
// crop rectangle and a batch under way (screenshots when KIVRA_SHOTS is set).
TEST_F(ImageWindowTest, ChineseTraditionalCaptions)
{
    text::SetLanguage(text::Language::ChineseTraditional);
    QString selection = dir.path();
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(MakePlasma(dir.file(QString("p%1.jpg").arg(i)), 800, 600, i));
        selection += QChar(0) + QString("p%1.jpg").arg(i);
    }
    struct English {
        ~English() { text::SetLanguage(text::Language::English); }
    } restore;
    frm_image* w = open();
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("圖像處理"));
    EXPECT_EQ(control<QPushButton>(w, "batch")->text(), QString::fromUtf8("批次處理(&B)"));
    EXPECT_EQ(control<QComboBox>(w, "Combo_ofiletype")->itemText(0), QString::fromUtf8("使用原始類型"));
    prompts->QueueFile(selection);
    QTest::mouseClick(control<QPushButton>(w, "mfselect"), Qt::LeftButton);
    drag(control<PreviewImage>(w, "Image1"), QPoint(60, 50), QPoint(420, 300));
    SaveShot(w, "image-crop-zh_TW");
    QObject::connect(w, &QWidget::windowTitleChanged, w, [w](const QString& title) {
        if (title.endsWith("(2 of 3 files)")) SaveShot(w, "image-batch-zh_TW");
    });
    QTest::mouseClick(control<QPushButton>(w, "batch"), Qt::LeftButton);
    EXPECT_TRUE(prompts->messages().value(0).startsWith(QString::fromUtf8("3 / 3 張圖像已成功轉換到資料夾：")))
        << prompts->messages().value(0).toStdString();
    EXPECT_EQ(QDir(dir.file("output")).entryList(QDir::Files).size(), 3);
}

// Flip, invert and a quarter turn on the teacher's picture: the preview shows the processed
// picture itself (not a grey box: an inverted alpha channel made it invisible), on screen as well as held, and Save starts on a new name beside the source.
TEST_F(ImageWindowTest, ApplyShowsTheProcessedPictureAndSaveNeverProposesTheSource)
{
    // An opaque picture with an alpha channel, as many PNG files are.
    ASSERT_TRUE(MakePlasma(dir.file("plain.png"), 64, 48));
    ASSERT_TRUE(Convert({dir.file("plain.png"), "-alpha", "opaque", "PNG32:" + dir.file("t1.png")}));
    // The library turns positive angles anticlockwise; ImageMagick clockwise.
    ASSERT_TRUE(Convert({dir.file("t1.png"), "-flip", "-negate", "-rotate", "-90", dir.file("expected.png")}));
    const QImage expected = Pixels(dir.file("expected.png"));
    frm_image* w = open();
    clickFile(w, "t1.png");
    auto* image = control<PreviewImage>(w, "Image1");
    control<QCheckBox>(w, "Check_flipvertical")->setChecked(true);
    control<QCheckBox>(w, "Check_invert")->setChecked(true);
    control<QCheckBox>(w, "check_rotateangle")->setChecked(true);
    control<QRadioButton>(w, "Option_rotate_1")->setChecked(true);   // +90
    QTest::mouseClick(control<QPushButton>(w, "apply"), Qt::LeftButton);
    EXPECT_TRUE(prompts->messages().isEmpty()) << prompts->messages().join("|").toStdString();
    ASSERT_EQ(image->picture().size(), QSize(48, 64));
    EXPECT_LT(LargestDifference(image->picture(), expected), 3);
    // What the preview paints: the picture at its own size, not a grey or empty box.
    QCoreApplication::processEvents();
    const QImage painted = image->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(painted.size(), QSize(48, 64));
    EXPECT_LT(LargestDifference(painted, expected), 3);
    SaveShot(w, "image-apply");

    // Save: a free name beside the source, never the source; the typed type's extension added.
    ASSERT_TRUE(MakePlasma(dir.file("t1_1.bmp"), 8, 8));
    {
        ScopedFilterPrompts save;
        save->QueueSave(dir.file("t1_2"), 1);   // the JPG entry, the name as proposed
        QTest::mouseClick(control<QPushButton>(w, "Save"), Qt::LeftButton);
        EXPECT_EQ(save->seen.fileName, dir.file("t1_2"));
        EXPECT_TRUE(save->messages().isEmpty()) << save->messages().join("|").toStdString();
        EXPECT_EQ(Identify(dir.file("t1_2.JPG"), "%m %w %h"), "JPEG 48 64");
        EXPECT_EQ(Identify(dir.file("t1.png"), "%m %w %h"), "PNG 64 48");
    }
    // The name the type word completes is a file already: asked first; No keeps it as it was.
    const QByteArray before = ReadAll(dir.file("t1_2.JPG"));
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        ScopedFilterPrompts save;
        save->QueueSave(dir.file("t1_2"), 4);   // the PNG entry
        ASSERT_TRUE(MakePlasma(dir.file("t1_2.PNG"), 8, 8));
        save->QueueAnswer(answer);
        QTest::mouseClick(control<QPushButton>(w, "Save"), Qt::LeftButton);
        EXPECT_EQ(save->seen.fileName, dir.file("t1_3"));
        ASSERT_EQ(save->messages().size(), 1);
        EXPECT_EQ(save->messages()[0], dir.file("t1_2.PNG") + " already exists. Do you want to replace it?");
        EXPECT_EQ(save->shown().back().buttons, MsgButtons::YesNo);
        EXPECT_EQ(Identify(dir.file("t1_2.PNG"), "%w %h"), answer == Answer::Yes ? "48 64" : "8 8");
    }
    EXPECT_EQ(ReadAll(dir.file("t1_2.JPG")), before);
}

// In the frame at its own small design size the image processor, the largest tool, would be
// scaled to its minimum with its texts at half their size (cramped Chinese): the frame grows to
// hold it, as far as the screen has room, and the texts keep their size.
TEST_F(ImageWindowTest, ASmallFrameGrowsToHoldTheWindowWithReadableTexts)
{
    text::SetLanguage(text::Language::ChineseTraditional);
    struct English {
        ~English() { text::SetLanguage(text::Language::English); }
    } restore;
    frame.resize(640, 480);
    QCoreApplication::processEvents();
    frm_image* w = open();
    ASSERT_NE(w, nullptr);
    const QRect room = frame.screen()->availableGeometry();
    const QSize design(frm_image::DesignWidth / 15, frm_image::DesignHeight / 15);
    // At its design size, or the frame as large as the screen allows.
    EXPECT_TRUE(w->size() == design || frame.frameGeometry().width() == room.width() ||
                frame.frameGeometry().height() == room.height())
        << w->width() << "x" << w->height() << " in " << frame.width() << "x" << frame.height();
    EXPECT_TRUE(room.contains(frame.frameGeometry()));
    const double scale = std::min(double(w->width()) / design.width(), double(w->height()) / design.height());
    EXPECT_GT(scale, 0.7);
    const double designPoints = QApplication::font(control<QPushButton>(w, "apply")).pointSizeF();
    EXPECT_GE(control<QPushButton>(w, "apply")->font().pointSizeF(), designPoints * scale * 0.92 - 0.01);
    SaveShot(w, "image-small-frame-zh_TW");
}
