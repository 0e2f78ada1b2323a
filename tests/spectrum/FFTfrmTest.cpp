// The spectrum window opened from an analyser window, as a class uses it: the tone's frequency
// read off the peak, a zoom with the right button, Restore, and the refusals.
#include "app/MDIMain.h"
#include "platform/ui/PictureBox.h"
#include "support/ScriptedPrompts.h"
#include "sound/OpenSoundWindow.h"
#include "sound/WavForm.h"
#include "spectrum/FFTfrm.h"
#include "text/LoadText.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "support/FrameFixture.h"
#include "support/Shots.h"
#include "support/TempDir.h"
#include "support/TextFits.h"
#include "support/WavFixture.h"

namespace {
class SpectrumWindowTest : public FrameFixture {
protected:
    FFTfrm* spectrumWindow() { return lastChild<FFTfrm>(); }
    QPoint at(PictureBox* b, double x, double y)
    {
        const QPointF p = b->toPixels(QPointF(x, y));
        return QPoint(int(std::lround(p.x())), int(std::lround(p.y())));
    }
};
}

TEST_F(SpectrumWindowTest, TheToneShowsAsThePeakWithTheAnalysersCaption)
{
    // 1000 Hz at 44100 Hz, 65536 frames: the peak bin lies within one bin width (0.67 Hz).
    const QString path = dir.file("tone.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(65536, 1, 1000, 10000)));
    WavForm* sound = openSound(path);
    ASSERT_NE(sound, nullptr);
    sound->findChild<QAction*>("mnufft")->trigger();
    FFTfrm* fft = spectrumWindow();
    ASSERT_NE(fft, nullptr);
    EXPECT_TRUE(prompts->messages().isEmpty());
    EXPECT_NEAR(fft->peak().frequency, 1000.0, 0.7);
    EXPECT_NEAR(fft->peak().magnitude, 5000.0, 1500.0);   // A/2 on a bin, less off a bin
    EXPECT_EQ(fft->findChild<QLabel*>("graphtitle")->text(), LoadText(151) + " - " + path);
    const QString peakText = fft->findChild<QLabel*>("peakfrequency")->text();
    ASSERT_TRUE(peakText.startsWith(LoadText(448) + " ")) << peakText.toStdString();
    EXPECT_NEAR(peakText.mid(LoadText(448).size()).toDouble(), 1000.0, 0.7);
    // 0 .. 11025 Hz is drawn as 0 .. 11000 with 11 labelled steps.
    EXPECT_FLOAT_EQ(fft->horizontal().low, 0.0f);
    EXPECT_FLOAT_EQ(fft->horizontal().high, 11000.0f);
    EXPECT_EQ(fft->horizontal().divisions, 11);
    EXPECT_GT(fft->output()->surface().PrimitiveCount(), 1000u);
    SaveShot(fft, "spectrum");

    // A right-button rectangle around the peak zooms into it; Restore shows everything again.
    PictureBox* out = fft->output();
    const double W = out->surface().ScaleWidth(), H = out->surface().ScaleHeight();
    const double x1000 = W * 1000 / 11000;
    QTest::mousePress(out, Qt::RightButton, {}, at(out, x1000 - 600, H * 0.05));
    QTest::mouseMove(out, at(out, x1000 + 900, H * 0.9));
    QTest::mouseRelease(out, Qt::RightButton, {}, at(out, x1000 + 900, H * 0.9));
    // About 330..1870 Hz; the left end is rounded down to a whole thousand.
    EXPECT_FLOAT_EQ(fft->horizontal().low, 0.0f);
    EXPECT_LT(fft->horizontal().high, 2500.0f);
    EXPECT_NEAR(fft->peak().frequency, 1000.0, 0.7);
    EXPECT_TRUE(fft->findChild<QWidget*>("sgraph")->isHidden());

    fft->findChild<QPushButton*>("fftrestore")->click();
    EXPECT_FLOAT_EQ(fft->horizontal().high, 11000.0f);

    // A second spectrum replaces the first in the same window.
    const QString other = dir.file("other.wav");
    ASSERT_TRUE(WriteWav(other, WavShape{}, Sine(65536, 1, 2000, 10000)));
    openSound(other)->findChild<QAction*>("mnufft")->trigger();
    EXPECT_EQ(spectrumWindow(), fft);
    EXPECT_NEAR(fft->peak().frequency, 2000.0, 0.7);
}

TEST_F(SpectrumWindowTest, TooShortASoundGivesAnErrorAndNoWindow)
{
    const QString path = dir.file("three.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, {100, 200, 300}));
    WavForm* sound = openSound(path);
    ASSERT_NE(sound, nullptr);
    sound->findChild<QAction*>("mnufft")->trigger();
    EXPECT_EQ(prompts->messages().size(), 1);
    EXPECT_EQ(spectrumWindow(), nullptr);
}

TEST_F(SpectrumWindowTest, TheSizeQuestionComesAboveTheLimitAndAbortStops)
{
    // A header promising 2566001 frames, backed by zeros the reader would take.
    const QString path = dir.file("long.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, std::vector<int>(2566001, 0)));
    WavForm* sound = openSound(path);
    ASSERT_NE(sound, nullptr);
    prompts->QueueAnswer(Answer::Abort);
    sound->findChild<QAction*>("mnufft")->trigger();
    ASSERT_EQ(prompts->shown().size(), 1u);
    EXPECT_EQ(prompts->shown().front().buttons, MsgButtons::AbortRetryIgnore);
    EXPECT_EQ(prompts->shown().front().title, "Too many data for FFT");
    EXPECT_EQ(spectrumWindow(), nullptr);
}

TEST_F(SpectrumWindowTest, TheDemoSoundPeaksAtItsTone)
{
    const QString demo = QStringLiteral(KIVRA_SOURCE_DIR "/samples/tuning-fork-440.wav");
    WavForm* sound = openSound(demo);
    ASSERT_NE(sound, nullptr);
    // Ctrl+A, the menu item's shortcut, with the focus on the graph.
    PictureBox* graph = sound->findChild<PictureBox*>("Picture2");
    graph->setFocus();
    QTest::keyClick(graph, Qt::Key_A, Qt::ControlModifier);
    FFTfrm* fft = spectrumWindow();
    ASSERT_NE(fft, nullptr);
    // 132300 frames: Nfft 65536, bins 0.67 Hz apart.
    EXPECT_NEAR(fft->peak().frequency, 440.0, 0.7);
    SaveShot(fft, "demo-spectrum");
}

TEST(SpectrumWindowFit, EveryTextShowsWholeInEachLanguageAndTheWindowStaysInTheFrame)
{
    TempDir dir;
    const QString path = dir.file("tone.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(65536, 1, 1000, 10000)));
    for (const auto language : {text::Language::English, text::Language::ChineseTraditional,
                                text::Language::ChineseSimplified}) {
        text::SetLanguage(language);
        ScopedScriptedPrompts prompts;
        MDIMain frame;
        frame.resize(700, 450);   // half of a small screen: the window must shrink to fit
        frame.show();
        OpenSoundWindow(path, 0);
        auto* sound = qobject_cast<WavForm*>(frame.mdiArea()->subWindowList().last()->widget());
        sound->findChild<QAction*>("mnufft")->trigger();
        FFTfrm* fft = FFTfrm::Instance();
        QCoreApplication::processEvents();
        auto* sub = qobject_cast<QMdiSubWindow*>(fft->parentWidget());
        ASSERT_NE(sub, nullptr);
        EXPECT_TRUE(QRect(QPoint(0, 0), frame.mdiArea()->viewport()->size()).contains(sub->geometry()));
        EXPECT_TRUE(ClippedTexts(fft).isEmpty()) << ClippedTexts(fft).join("\n").toStdString();
        sub->close();
        QCoreApplication::processEvents();
    }
    text::SetLanguage(text::Language::English);
}
