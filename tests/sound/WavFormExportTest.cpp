// Saving and pasting from the analyser window, checked with the real tools that read the files.
#include "app/MDIMain.h"
#include "platform/ui/PictureBox.h"
#include "support/ScriptedPrompts.h"
#include "sound/OpenSoundWindow.h"
#include "platform/system/TemporaryFiles.h"
#include "sound/ExportName.h"
#include "sound/WavForm.h"
#include "text/LoadText.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "support/FrameFixture.h"
#include "support/Tools.h"
#include "support/WavFixture.h"

namespace {
class WavFormExportTest : public FrameFixture {
protected:
    WavForm* open(const QString& path) { return openSound(path); }
    void selectAll(WavForm* w)
    {
        PictureBox* upper = w->findChild<PictureBox*>("Picture2");
        QTest::mousePress(upper, Qt::LeftButton, {}, QPoint(0, 20));
        QTest::mouseRelease(upper, Qt::LeftButton, {}, QPoint(0, 20));
        w->findChild<QPushButton*>("Command8")->click();   // the whole view
    }
    QString stereoFile(int frames)
    {
        const QString path = dir.file("stereo source.wav");
        WavShape shape;
        shape.channels = 2;
        std::vector<int> samples;
        for (int i = 0; i < frames; ++i) {
            samples.push_back(16384);
            samples.push_back(-1000);
        }
        EXPECT_TRUE(WriteWav(path, shape, samples));
        return path;
    }
    QString soxi(const QString& option, const QString& path)
    {
        return RunTool("soxi", {option, path}).output.trimmed();
    }
};
}

TEST_F(WavFormExportTest, TheLeftChannelOfASelectionSavesAsAMonoWav)
{
    WavForm* w = open(stereoFile(1000));
    selectAll(w);
    w->findChild<QRadioButton*>("Option3")->click();   // Left
    prompts->QueueFile(dir.file("left clip"));
    w->findChild<QPushButton*>("saveselectedaudio")->click();
    const QString saved = dir.file("left clip.wav");
    ASSERT_TRUE(QFile::exists(saved)) << prompts->messages().join("; ").toStdString();
    EXPECT_EQ(soxi("-c", saved), "1");
    EXPECT_EQ(soxi("-s", saved), "1000");
    EXPECT_EQ(QFileInfo(saved).size(), 44 + 2000);
    EXPECT_EQ(prompts->shown().back().title, "Stereo - Save Left Channel only");
    EXPECT_EQ(w->windowTitle(), LoadText(169) + " - (" + saved + ")");
    EXPECT_EQ(w->findChild<QLabel*>("Label1")->text(), LoadText(476) + saved);
    EXPECT_EQ(w->Tag, "saved");
}

TEST_F(WavFormExportTest, AClipSavedAfterAnImageSaveShowsTheAudioTypes)
{
    // The image save leaves the shared dialog on its image types and ".JPG"; the clip save that
    // follows must not show them (the name "clip" would become "clip.PNG.wav").
    WavForm* w = open(stereoFile(1000));
    selectAll(w);
    prompts->QueueFile(dir.file("graph.png"));
    prompts->QueueFile(dir.file("graph2.png"));
    w->findChild<QAction*>("mnuimagesavewhole")->trigger();   // two images: left and right
    prompts->QueueFile(dir.file("clip"));
    w->findChild<QPushButton*>("saveselectedaudio")->click();
    const ScriptedPrompts::Shown& clipDialog = prompts->shown().back();
    EXPECT_EQ(clipDialog.filter, ExportFilter());
    EXPECT_TRUE(clipDialog.defaultExt.isEmpty());
    EXPECT_TRUE(QFile::exists(dir.file("clip.wav")));
}

TEST_F(WavFormExportTest, TheWholeSoundSavesAsAnMp3ThatLameDecodes)
{
    WavForm* w = open(stereoFile(44100));
    prompts->QueueFile(dir.file("Whole Song.MP3"));
    w->findChild<QPushButton*>("savewholeaudio")->click();
    const QString mp3 = dir.file("whole song.mp3");
    ASSERT_TRUE(QFile::exists(mp3)) << prompts->messages().join("; ").toStdString();
    EXPECT_FALSE(QFile::exists(dir.file("whole song.wav")));   // the intermediate WAV is gone
    const QString decoded = dir.file("decoded.wav");
    ASSERT_EQ(RunTool("lame", {"--quiet", "--decode", mp3, decoded}).exitCode, 0);
    EXPECT_NEAR(soxi("-s", decoded).toInt(), 44100, 1152 * 2);
    EXPECT_EQ(w->document().fileName, mp3);
    // The window goes on drawing from the sound it loaded, not from the MP3's bytes.
    const float before = w->columnTable().At(100, 0);
    selectAll(w);
    w->findChild<QPushButton*>("Command7")->click();   // Restore
    EXPECT_FLOAT_EQ(w->columnTable().At(100, 0), before);
    EXPECT_FLOAT_EQ(before, 0.5f);                     // 16384 / 32768
}

TEST_F(WavFormExportTest, PasteOpensTheClipInANewWindowAndCloseDeletesIt)
{
    WavForm* w = open(stereoFile(500));
    w->findChild<QPushButton*>("Command5")->click();
    EXPECT_EQ(prompts->messages(), QStringList{LoadText(607)});   // nothing selected yet
    selectAll(w);
    w->findChild<QRadioButton*>("Option2")->click();   // Right
    w->findChild<QSlider*>("Slider1")->setValue(6);
    w->findChild<QPushButton*>("Command5")->click();
    auto* pasted = qobject_cast<WavForm*>(frame.mdiArea()->subWindowList().last()->widget());
    ASSERT_NE(pasted, w);
    const QString clip = pasted->windowTitle();
    EXPECT_TRUE(QFileInfo(clip).fileName().startsWith("Untitled")) << clip.toStdString();
    EXPECT_EQ(QFileInfo(clip).absolutePath(), QFileInfo(platform::ScratchFolder()).absoluteFilePath());
    EXPECT_TRUE(platform::ScratchFolder().startsWith(QDir::tempPath()));
    EXPECT_EQ(pasted->findChild<QLabel*>("Label9")->text(), "Mono");
    EXPECT_EQ(pasted->findChild<QLabel*>("Label6_0")->text(), "500");
    // -1000 through the +6 dB curve, drawn from the right channel's column in dark red.
    EXPECT_TRUE(pasted->findChild<PictureBox*>("Picture2")->surface().HasInkIn(0, 0, 10060, 4000, QColor(128, 0, 0)));
    frame.mdiArea()->subWindowList().last()->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(QFile::exists(clip));
}
