// The analyser window driven as a user drives it: files opened through OpenSoundWindow in the
// real frame, mouse gestures sent to the graphs at twip positions, menus and buttons clicked.
#include "app/MDIMain.h"
#include "platform/ui/PictureBox.h"
#include "support/ScriptedPrompts.h"
#include "platform/system/Settings.h"
#include "platform/system/TemporaryFiles.h"
#include "sound/OpenSoundWindow.h"
#include "sound/WavForm.h"
#include "text/LoadText.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "support/FrameFixture.h"
#include "support/Shots.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "support/WavFixture.h"

namespace {
// A stereo 16-bit sound whose left sample is the frame's index and right sample its negative,
// so the table row drawn first tells which frame the drawing started at.
std::vector<int> indexedStereo(int frames)
{
    std::vector<int> s;
    for (int i = 0; i < frames; ++i) {
        s.push_back(i);
        s.push_back(-i);
    }
    return s;
}

class WavFormTest : public FrameFixture {
protected:
    WavForm* open(const QString& path, int channel = 0) { return openSound(path, channel); }
    QString text(WavForm* w, const char* name) { return w->findChild<QLabel*>(name)->text(); }
    PictureBox* box(WavForm* w, const char* name) { return w->findChild<PictureBox*>(name); }
    // The pixel of a graph box at a twip position of its drawing, half way down.
    QPoint at(PictureBox* b, double xTwips)
    {
        const QPointF p = b->toPixels(QPointF(xTwips, b->surface().ScaleHeight() / 2.0));
        return QPoint(int(std::lround(p.x())), int(std::lround(p.y())));
    }
    void drag(PictureBox* b, double fromTwips, double toTwips)
    {
        QTest::mousePress(b, Qt::LeftButton, {}, at(b, fromTwips));
        QTest::mouseMove(b, at(b, (fromTwips + toTwips) / 2));
        QTest::mouseMove(b, at(b, toTwips));
        QTest::mouseRelease(b, Qt::LeftButton, {}, at(b, toTwips));
    }
};
}

TEST_F(WavFormTest, ARealStereoFileShowsItsValuesAndTwoGraphs)
{
    const QString path = dir.file("sox stereo.wav");
    ASSERT_EQ(RunTool("sox", {"-n", "-r", "22050", "-b", "16", "-c", "2", path, "synth", "2",
                              "sine", "440", "sine", "660"}).exitCode, 0);
    WavForm* w = open(path);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), path);
    EXPECT_EQ(text(w, "Label8"), "22050");
    EXPECT_EQ(text(w, "Label10"), "16 bits");
    EXPECT_EQ(text(w, "Label9"), "Stereo");
    EXPECT_EQ(text(w, "Label6_0"), "44100");
    EXPECT_EQ(text(w, "Label14"), "Audio Duration: 2sec");
    EXPECT_EQ(text(w, "timescalelabel"), "time in0.1 sec");
    EXPECT_FALSE(box(w, "Picture5")->isHidden());
    EXPECT_FALSE(w->findChild<QGroupBox*>("Frame2")->isHidden());
    EXPECT_TRUE(w->findChild<QAction*>("mnuaudiochannels")->isEnabled());
    // 44100 frames on about 10060 units: one sample per unit.
    EXPECT_EQ(w->findChild<QLabel*>("amp")->property("Tag").toString(), "1");
    EXPECT_FALSE(w->findChild<QCheckBox*>("showampCheck")->isEnabled());
    EXPECT_TRUE(box(w, "Picture2")->surface().HasInkIn(0, 0, 2000, 2000, QColor(0, 0, 192)));
    EXPECT_TRUE(box(w, "Picture5")->surface().HasInkIn(0, 0, 2000, 2000, QColor(128, 0, 0)));
    EXPECT_TRUE(prompts->messages().isEmpty());
    SaveShot(w, "stereo-sox");

    // A larger window shows the same drawing larger: the graph keeps its share of the window
    // and its twip scale.
    PictureBox* graph = box(w, "Picture2");
    const double share = double(graph->width()) / w->width();
    frame.mdiArea()->subWindowList().last()->resize(1150, 850);
    QCoreApplication::processEvents();
    EXPECT_NEAR(double(graph->width()) / w->width(), share, 0.02);
    EXPECT_EQ(graph->surface().ScaleWidth(), 10060);
    EXPECT_NEAR(graph->toTwips(QPointF(graph->width(), 0)).x(), 10060, 1);
    SaveShot(w, "stereo-sox-large");
}

TEST_F(WavFormTest, AMonoFileHasOneTallGraphAndNoChannelChoice)
{
    const QString path = dir.file("mono.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(500, 1, 441, 12000)));
    WavForm* w = open(path);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(box(w, "Picture5")->isHidden());
    EXPECT_TRUE(w->findChild<QGroupBox*>("Frame2")->isHidden());
    EXPECT_FALSE(w->findChild<QAction*>("mnuaudiochannels")->isEnabled());
    EXPECT_EQ(box(w, "Picture2")->surface().ScaleHeight() + 32, 3856);
    EXPECT_EQ(w->findChild<QLabel*>("amp")->property("Tag").toString(), "0");
    EXPECT_TRUE(w->findChild<QCheckBox*>("showampCheck")->isEnabled());
}

TEST_F(WavFormTest, NewWindowsTakeTheFramesOptionsAndHandThemBack)
{
    const QString path = dir.file("mono.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(500, 1, 441, 12000)));
    frame.setEqualiseAmplitude(true);
    frame.setShowAmplitude(true);
    WavForm* w = open(path);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->findChild<QAction*>("mnuequaliseamp")->isChecked());
    EXPECT_TRUE(w->findChild<QAction*>("mnushowamp")->isChecked());
    EXPECT_FALSE(w->findChild<QLabel*>("amp")->isHidden());
    w->findChild<QAction*>("mnuequaliseamp")->trigger();
    w->findChild<QAction*>("mnushowamp")->trigger();
    EXPECT_FALSE(w->findChild<QAction*>("mnuequaliseamp")->isChecked());
    EXPECT_FALSE(frame.equaliseAmplitude());
    EXPECT_FALSE(frame.showAmplitude());
    EXPECT_TRUE(w->findChild<QLabel*>("amp")->isHidden());
}

TEST_F(WavFormTest, ARejectedFileShowsErrorOnceAndLeavesTheWindowEmpty)
{
    // A compressed format (MS ADPCM, 4 bits): the design's message, and the reason beside it.
    const QString path = dir.file("adpcm.wav");
    WavShape shape;
    shape.bitsPerSample = 4;
    shape.formatTag = 2;
    ASSERT_TRUE(WriteWav(path, shape, std::vector<int>(300, 5)));
    WavForm* w = open(path);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(prompts->count("Error!!"), 1);
    EXPECT_EQ(prompts->messages().size(), 1);
    EXPECT_EQ(text(w, "lblLoadProblem"), "Error: compressed WAV (format 2) is not supported");
    EXPECT_FALSE(w->findChild<QLabel*>("lblLoadProblem")->isHidden());
    EXPECT_EQ(text(w, "Label8"), "");
    EXPECT_EQ(text(w, "Label10"), "");
    EXPECT_EQ(w->document().loaded, false);
    // Gestures on an empty window do nothing.
    QTest::mousePress(box(w, "Picture2"), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(text(w, "Label16_1"), "");
}

TEST_F(WavFormTest, SelectZoomAndRestoreAStereoSound)
{
    // The gestures and buttons reach the analyser, and its state reaches the labels and strips.
    const QString path = dir.file("indexed.wav");
    WavShape shape;
    shape.channels = 2;
    ASSERT_TRUE(WriteWav(path, shape, indexedStereo(10061)));
    WavForm* w = open(path);
    ASSERT_NE(w, nullptr);
    PictureBox* upper = box(w, "Picture2");
    ASSERT_EQ(upper->surface().ScaleWidth(), 10060);

    drag(upper, 1000, 2000);
    const int first = int(text(w, "Label16_4").toDouble());
    const int last = int(text(w, "Label16_5").toDouble());
    EXPECT_NEAR(first, 1000, 20);
    EXPECT_NEAR(last, 2000, 20);
    EXPECT_FALSE(box(w, "Picture3")->isHidden());
    EXPECT_FALSE(box(w, "Picture6")->isHidden());
    SaveShot(w, "stereo-selection");

    w->findChild<QPushButton*>("Command6")->click();
    EXPECT_EQ(w->document().viewStartSample(), first);
    EXPECT_TRUE(box(w, "Picture3")->isHidden());

    w->findChild<QPushButton*>("Command8")->click();
    EXPECT_EQ(text(w, "Label16_6").toInt(), w->document().viewSamples());

    w->findChild<QPushButton*>("Command7")->click();
    EXPECT_EQ(text(w, "Label16_4"), "0");
    EXPECT_EQ(text(w, "Label16_6"), "10061");
}

TEST_F(WavFormTest, ZoomWithoutSelectionSaysSo)
{
    const QString path = dir.file("mono.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(4410, 1, 441, 12000)));
    WavForm* w = open(path);
    ASSERT_NE(w, nullptr);
    w->findChild<QAction*>("mnuzoom")->trigger();
    EXPECT_EQ(prompts->messages(), QStringList{"No Zoom Selection Made!"});
}

TEST_F(WavFormTest, MeasuringCyclesAndTheAmplitudeReadout)
{
    const QString path = dir.file("stereo.wav");
    WavShape shape;
    shape.channels = 2;
    shape.sampleRate = 8000;
    ASSERT_TRUE(WriteWav(path, shape, Sine(4000, 2, 400, 16000, 8000)));   // 0.5 s, 4000 frames
    WavForm* w = open(path);
    ASSERT_NE(w, nullptr);
    auto* check = w->findChild<QCheckBox*>("showampCheck");
    ASSERT_TRUE(check->isEnabled());
    check->click();
    QLabel* amp = w->findChild<QLabel*>("amp");
    EXPECT_FALSE(amp->isHidden());
    EXPECT_TRUE(w->findChild<QAction*>("mnushowamp")->isChecked());

    PictureBox* upper = box(w, "Picture2");
    QTest::mousePress(upper, Qt::LeftButton, {}, at(upper, 2000));
    QTest::mouseRelease(upper, Qt::LeftButton, {}, at(upper, 2000));
    EXPECT_EQ(amp->toolTip(), LoadText(411));   // the point value, left channel
    const QString pointValue = amp->text();

    drag(upper, 2000, 6000);
    EXPECT_EQ(amp->toolTip(), LoadText(414));   // the left channel's average
    EXPECT_NE(amp->text(), pointValue);
    QTest::mouseDClick(amp, Qt::LeftButton);
    EXPECT_EQ(amp->toolTip(), LoadText(417));
    QTest::mouseDClick(amp, Qt::LeftButton);
    EXPECT_EQ(amp->toolTip(), LoadText(414));

    // The interval of 4000 selected frames at 8000 Hz is 0.5 s; 4 cycles give 125 ms and 8 Hz.
    w->findChild<QPushButton*>("Command8")->click();
    EXPECT_EQ(text(w, "Label16_3"), "0.5");
    w->findChild<QLineEdit*>("Textcycle")->setText("4");
    EXPECT_EQ(text(w, "Labelperiod"), LoadText(519) + "0.125 (s)");
    EXPECT_EQ(text(w, "Labelfrequency"), LoadText(193) + " = 8 (Hz)");

    // The menu item hides the read-out again and unticks the box.
    w->findChild<QAction*>("mnushowamp")->trigger();
    EXPECT_TRUE(amp->isHidden());
    EXPECT_FALSE(check->isChecked());
}

TEST_F(WavFormTest, ClosingDeletesOnlyUnsavedTemporaryFiles)
{
    // Scratch files this run made (a pasted clip, a decoder output), one of them saved, and the
    // user's own files that merely look like them by name.
    const QString pasted = dir.file("Untitled3.wav");
    const QString decoded = dir.file("song_.wav");
    const QString saved = dir.file("Untitled4.wav");
    QDir(dir.path()).mkdir("Untitled Folder");
    const QString usersFolder = dir.file("Untitled Folder/lesson.wav");
    const QString usersTake = dir.file("take_.wav");
    const QString plain = dir.file("lesson.wav");
    for (const QString& p : {pasted, decoded, saved, usersFolder, usersTake, plain})
        ASSERT_TRUE(WriteWav(p, WavShape{}, Sine(441, 1, 441, 1000)));
    for (const QString& p : {pasted, decoded, saved}) platform::MarkTemporary(p);
    for (const QString& p : {pasted, decoded, saved, usersFolder, usersTake, plain}) {
        WavForm* w = open(p);
        ASSERT_NE(w, nullptr);
        if (p == saved) w->Tag = "saved";
        w->findChild<QAction*>("mnuclose")->trigger();
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(frame.mdiArea()->subWindowList().isEmpty());
    EXPECT_FALSE(QFile::exists(pasted));
    EXPECT_FALSE(QFile::exists(decoded));
    for (const QString& p : {saved, usersFolder, usersTake, plain})
        EXPECT_TRUE(QFile::exists(p)) << p.toStdString();
}

TEST_F(WavFormTest, CtrlOInAnAnalyserShowsOneOpenDialog)
{
    const QString path = dir.file("mono.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(441, 1, 441, 1000)));
    WavForm* w = open(path);
    ASSERT_NE(w, nullptr);
    frame.mdiArea()->setActiveSubWindow(frame.mdiArea()->subWindowList().last());
    PictureBox* graph = box(w, "Picture2");
    graph->setFocus();
    prompts->QueueFile(std::nullopt);
    QTest::keyClick(graph, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(prompts->shown().size(), 1u);
    EXPECT_EQ(prompts->shown().front().kind, ScriptedPrompts::Shown::Kind::Open);
}

TEST_F(WavFormTest, TheGraphSavesAsAnImageThatImageMagickReads)
{
    const QString path = dir.file("mono.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(4410, 1, 441, 12000)));
    prompts->QueueFile(path);
    frame.findChild<QAction*>("mnuOpenItem")->trigger();
    WavForm* w = lastChild<WavForm>();
    ASSERT_NE(w, nullptr);
    for (const char* name : {"graph.png", "graph.jpg", "graph.bmp"}) {
        prompts->QueueFile(dir.file(name));
        w->findChild<QAction*>("mnuimagesavewhole")->trigger();
        const ToolResult id = RunTool("identify", {dir.file(name)});
        EXPECT_EQ(id.exitCode, 0) << name << id.output.toStdString();
    }
    EXPECT_EQ(prompts->shown().back().title, LoadText(408));
    EXPECT_TRUE(prompts->messages().isEmpty());
    // The images went through the frame's shared dialog; the file to reopen next time is still
    // the sound.
    frame.close();
    EXPECT_EQ(platform::GetSetting("KIVRA", "preferences", "lastfile"), path);
}
