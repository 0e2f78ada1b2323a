// The spectrum window's level view, wired: "Level in dB" with the Hann window shows the tone's
// interpolated peak and the window's correction, the pointer reads frequency and level, the
// values are copied and exported in Audacity's two columns, and unticking gives the design's
// picture back.
#include "platform/ui/PictureBox.h"
#include "sound/WavForm.h"
#include "spectrum/FFTfrm.h"
#include "support/ScriptedPrompts.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "support/FrameFixture.h"
#include "support/Shots.h"
#include "support/WavFixture.h"

namespace {
class SpectrumLevelsTest : public FrameFixture {
protected:
    QString text(QWidget* w, const char* name) { return w->findChild<QLabel*>(name)->text(); }
};
}

TEST_F(SpectrumLevelsTest, LevelsInDbWithTheirPeakCursorAndExport)
{
    // 440 Hz at half scale (-6.02 dB), three seconds at 44100 Hz.
    const QString path = dir.file("a440.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(132300, 1, 440, 16384)));
    WavForm* sound = openSound(path);
    ASSERT_NE(sound, nullptr);
    sound->findChild<QAction*>("mnufft")->trigger();
    FFTfrm* fft = lastChild<FFTfrm>();
    ASSERT_NE(fft, nullptr);
    const float designPeak = fft->peak().frequency;
    EXPECT_FALSE(fft->showingLevels());
    EXPECT_EQ(fft->findChild<QComboBox*>("cboWindow")->currentIndex(), 0);   // Hann

    fft->findChild<QCheckBox*>("chkLevelDb")->click();
    ASSERT_TRUE(fft->showingLevels());
    const QString peak = text(fft, "lblPeakLevel");
    ASSERT_TRUE(peak.startsWith("Peak: ")) << qPrintable(peak);
    EXPECT_NEAR(peak.mid(6).section(' ', 0, 0).toDouble(), 440.0, 0.05);
    EXPECT_NEAR(fft->levelSpectrum().peakLevel, -6.02, 0.1);
    EXPECT_EQ(text(fft, "lblWindowCorrection"), "Levels include the window's correction of 6.02 dB");
    EXPECT_NEAR(fft->peak().frequency, 440.0, 0.05);
    EXPECT_LT(fft->vertical().low, -90);

    // The pointer over the tone reads its frequency and a level near the peak's.
    PictureBox* out = fft->output();
    const double x = (440.0 - fft->horizontal().low) * fft->horizontal().scale;
    const QPointF px = out->toPixels(QPointF(x, 1000));
    QTest::mouseMove(out, QPoint(int(std::lround(px.x())), int(px.y())));
    const QString cursor = text(fft, "lblCursorLevel");
    ASSERT_TRUE(cursor.endsWith(" dB")) << qPrintable(cursor);
    EXPECT_NEAR(cursor.section(' ', 0, 0).toDouble(), 440.0, 15.0);   // a pixel is ~7 Hz here
    SaveShot(fft, "spectrum-db");

    fft->findChild<QPushButton*>("cmdCopyValues")->click();
    const QString copied = QGuiApplication::clipboard()->text();
    ASSERT_TRUE(copied.startsWith("Frequency (Hz)\tLevel (dB)\n"));
    const QStringList rows = copied.split('\n', Qt::SkipEmptyParts);
    // The bins drawn: 0 .. 11025 Hz is drawn as 0 .. 11000.
    EXPECT_EQ(rows.size() - 1, int(std::floor(fft->horizontal().high / fft->levelSpectrum().binWidth)));
    prompts->QueueFile(dir.file("spectrum"));
    fft->findChild<QPushButton*>("cmdExportSpectrum")->click();
    QFile exported(dir.file("spectrum.txt"));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(exported.readAll()), copied);

    // Rectangular: no correction. Unticked: the design's picture and peak.
    fft->findChild<QComboBox*>("cboWindow")->setCurrentIndex(1);
    EXPECT_EQ(text(fft, "lblWindowCorrection"), "Levels include the window's correction of 0.00 dB");
    fft->findChild<QCheckBox*>("chkLevelDb")->click();
    EXPECT_FALSE(fft->showingLevels());
    EXPECT_FLOAT_EQ(fft->peak().frequency, designPeak);
    EXPECT_TRUE(text(fft, "lblPeakLevel").isEmpty());
}
