#include "app/MDIMain.h"

#include "support/ScriptedPrompts.h"
#include "platform/system/Settings.h"
#include "text/LoadText.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QImage>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/WavFixture.h"

namespace {
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        text::SetLanguage(text::Language::English);
        for (const char* key : {"lastfile", "mdileft", "mditop", "mdiwidth", "mdiheight"})
            platform::DeleteSetting("KIVRA", "preferences", key);
    }
    void TearDown() override { text::SetLanguage(text::Language::English); }

    QString wav(const QString& name)
    {
        const QString path = dir.file(name);
        WavShape shape;
        EXPECT_TRUE(WriteWav(path, shape, Sine(4410, 1, 440, 10000)));
        return path;
    }
    QStringList childTitles(const MDIMain& frame)
    {
        QStringList titles;
        for (QMdiSubWindow* w : frame.mdiArea()->subWindowList()) titles << w->widget()->windowTitle();
        return titles;
    }

    TempDir dir;
    ScopedScriptedPrompts prompts;
};

QString firstMenuTitle(MDIMain& frame) { return frame.menuBar()->actions().first()->text(); }
}

TEST_F(FrameTest, MenusCarryTheirCaptionsInEachLanguage)
{
    MDIMain english;
    english.Load("");
    EXPECT_EQ(english.windowTitle(), "KIVRA");
    EXPECT_EQ(firstMenuTitle(english), "&File");
    EXPECT_EQ(english.findChild<QAction*>("mnuOpenItem")->text(), "&Open Audio File ");
    EXPECT_EQ(english.findChild<QAction*>("mnuOpenItem")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(english.findChild<QAction*>("mnuExitItem")->shortcut(), QKeySequence("Ctrl+X"));
    EXPECT_EQ(english.findChild<QAction*>("mnujpegquality")->text(), LoadText(115) + " (85%)");
    EXPECT_EQ(english.findChild<QAction*>("mnuvideocapture")->text(), "Windows Video &Capture");
    EXPECT_EQ(english.jpegQuality(), "85");

    text::SetLanguage(text::Language::ChineseTraditional);
    MDIMain traditional;
    traditional.Load("");
    EXPECT_EQ(firstMenuTitle(traditional), QString::fromUtf8("檔案(&F)"));
    EXPECT_EQ(traditional.windowTitle(), "KIVRA");

    text::SetLanguage(text::Language::ChineseSimplified);
    MDIMain simplified;
    simplified.Load("");
    EXPECT_EQ(firstMenuTitle(simplified), QString::fromUtf8("文件(&F)"));
}

TEST_F(FrameTest, OptionsStartAsDesignedAndPlayerChoiceIsExclusive)
{
    MDIMain frame;
    frame.Load("");
    EXPECT_FALSE(frame.equaliseAmplitude());
    EXPECT_FALSE(frame.showAmplitude());
    auto* automatic = frame.findChild<QAction*>("mnusettinga");
    auto* wmp = frame.findChild<QAction*>("mnusettingwmp");
    auto* amp = frame.findChild<QAction*>("mnusettingamp");
    EXPECT_TRUE(wmp->isChecked());
    EXPECT_FALSE(amp->isEnabled());
    automatic->trigger();
    EXPECT_TRUE(automatic->isChecked());
    EXPECT_FALSE(wmp->isChecked());
    automatic->trigger();   // choosing the checked item again keeps it checked
    EXPECT_TRUE(automatic->isChecked());
    frame.findChild<QAction*>("mnuequaliseamp")->trigger();
    EXPECT_TRUE(frame.equaliseAmplitude());
}

TEST_F(FrameTest, NoStartFileCentresAHalfScreenFrameWithNoChild)
{
    MDIMain frame;
    frame.show();
    frame.Load("");
    EXPECT_TRUE(frame.mdiArea()->subWindowList().isEmpty());
    const QSize screen = QApplication::primaryScreen()->geometry().size();
    EXPECT_NEAR(frame.width(), screen.width() / 2, 1);
    EXPECT_NEAR(frame.height(), screen.height() / 2, 1);
}

TEST_F(FrameTest, CommandLineOpensTheFileAndClosingRecordsIt)
{
    const QString path = wav("Class Tone.WAV");
    {
        MDIMain frame;
        frame.show();
        frame.Load("\"" + path + "\"");
        EXPECT_EQ(childTitles(frame), QStringList{path});
        EXPECT_EQ(frame.CommonDialog1.FileName, path);
        frame.close();
    }
    EXPECT_EQ(platform::GetSetting("KIVRA", "preferences", "lastfile"), path);
    // Without a command line, the last file opens again.
    MDIMain again;
    again.show();
    again.Load("");
    EXPECT_EQ(childTitles(again), QStringList{path});
}

TEST_F(FrameTest, AnImageOnTheCommandLineOpensInTheImageProcessor)
{
    const QString path = dir.file("leaf photo.png");
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(path));
    MDIMain frame;
    frame.show();
    frame.Load(path);
    QWidget* processor = frame.findChild<QWidget*>("frm_image");
    ASSERT_NE(processor, nullptr);
    EXPECT_TRUE(processor->isVisible());
    EXPECT_EQ(QFileInfo(processor->windowTitle()).fileName(), "leaf photo.png");
    EXPECT_TRUE(prompts->messages().isEmpty()) << prompts->messages().join("; ").toStdString();
}

TEST_F(FrameTest, ExitDoesNotRecordTheLastFile)
{
    const QString path = wav("tone.wav");
    MDIMain frame;
    frame.Load(path);
    frame.findChild<QAction*>("mnuExitItem")->trigger();
    frame.close();
    EXPECT_EQ(platform::GetSetting("KIVRA", "preferences", "lastfile", "none"), "none");
}

TEST_F(FrameTest, JpegQualityIsKeptAsTyped)
{
    MDIMain frame;
    frame.Load("");
    auto* quality = frame.findChild<QAction*>("mnujpegquality");
    prompts->QueueInput("abc");
    quality->trigger();
    EXPECT_EQ(frame.jpegQuality(), "abc");
    EXPECT_EQ(quality->text(), "JPEG quality (abc%)");
    prompts->QueueInput("");   // Cancel changes nothing
    quality->trigger();
    EXPECT_EQ(frame.jpegQuality(), "abc");
    ASSERT_EQ(prompts->shown().size(), 2u);
    EXPECT_EQ(prompts->shown().front().prompt, LoadText(396));
    EXPECT_EQ(prompts->shown().front().title, LoadText(395));
}

TEST_F(FrameTest, OpenAudioFileUsesTheSoundFilterAndCancelIsSilent)
{
    const QString path = wav("lab.wav");
    MDIMain frame;
    frame.Load("");
    prompts->QueueFile(std::nullopt);
    frame.findChild<QAction*>("mnuOpenItem")->trigger();
    EXPECT_TRUE(frame.mdiArea()->subWindowList().isEmpty());
    prompts->QueueFile(path);
    frame.findChild<QAction*>("mnusoundanalyser")->trigger();
    EXPECT_EQ(childTitles(frame), QStringList{path});
    EXPECT_EQ(prompts->shown().back().filter,
              "Wave Files (*.wav)|*.wav|mp3 Files (*.mp3)|*.mp3|Wave/mp3 files|*.wav;*.mp3");
    EXPECT_TRUE(prompts->messages().isEmpty());
}
