// The capture dialogs as a user sees them, in English and Chinese Traditional: every caption fits
// its control (nothing cut off) and no two controls overlap. Screenshots when KIVRA_SHOTS is set.
#include "capture/frmAlloc.h"
#include "capture/frmCapFrame.h"
#include "capture/frmCapPal.h"
#include "capture/frmCapVid.h"
#include "capture/frmMain.h"
#include "capture/frmPrefs.h"
#include "capture/device/AudioFormatChoices.h"
#include "capture/device/AudioFormatChooser.h"
#include "platform/camera/TestPatternCamera.h"
#include "capture/device/VideoCompressionDialog.h"
#include "capture/device/VideoFormatDialog.h"
#include "capture/device/VideoSourceDialog.h"
#include "support/FakeFrame.h"
#include "support/ScriptedPrompts.h"
#include "support/Shots.h"
#include "support/TempDir.h"
#include "text/LoadText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The controls whose text must show whole: buttons, option buttons, check boxes and one-line
// labels that are direct parts of the dialog's design.
QStringList CutOff(QWidget* dialog)
{
    QStringList problems;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(dialog)) continue;
        int needed = 0;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) needed = b->sizeHint().width();
        else if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap() && l->pixmap().isNull())
            needed = l->fontMetrics().horizontalAdvance(l->text());
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            needed = g->fontMetrics().horizontalAdvance(g->title()) + 16;
        if (needed > w->width())
            problems << QString("%1 \"%2\": %3 > %4")
                            .arg(w->objectName(), w->property("text").toString())
                            .arg(needed)
                            .arg(w->width());
    }
    return problems;
}

// Siblings placed by the design that overlap each other.
QStringList Overlaps(QWidget* parent)
{
    QStringList problems;
    QList<QWidget*> children;
    for (QObject* o : parent->children())
        if (auto* w = qobject_cast<QWidget*>(o); w && w->isVisibleTo(parent) && !w->isWindow()) children << w;
    for (int i = 0; i < children.size(); ++i) {
        for (int j = i + 1; j < children.size(); ++j)
            if (children[i]->geometry().intersects(children[j]->geometry()))
                problems << children[i]->objectName() + "/" + children[j]->objectName();
        problems << Overlaps(children[i]);
    }
    return problems;
}

class CaptureDialogsLayout : public ::testing::TestWithParam<text::Language> {
protected:
    void SetUp() override { text::SetLanguage(GetParam()); }
    void TearDown() override { text::SetLanguage(text::Language::English); }

    void check(QDialog* dialog, const QString& name)
    {
        dialog->show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(CutOff(dialog).isEmpty()) << qPrintable(name + ": " + CutOff(dialog).join("; "));
        EXPECT_TRUE(Overlaps(dialog).isEmpty()) << qPrintable(name + ": " + Overlaps(dialog).join("; "));
        const QString language = GetParam() == text::Language::English ? "en" : "zh_TW";
        SaveShot(dialog, name + "-" + language);
        dialog->close();
    }

    ScopedScriptedPrompts prompts;
    FakeFrame frame;
    TempDir dir;
};

} // namespace

TEST_P(CaptureDialogsLayout, CaptionsFitAndControlsDoNotOverlap)
{
    qputenv("KIVRA_VIRTUAL_DEVICES", "1");
    frmMain* main = frmMain::Load(true);
    ASSERT_NE(main, nullptr);
    CapWnd capwnd = main->capwnd();
    ASSERT_NE(capwnd, nullptr);
    capFileSetCaptureFile(capwnd, dir.file("capture.avi"));

    { frmCapVid d(capwnd, main); check(&d, "frmCapVid"); }
    { frmPrefs d(*main); check(&d, "frmPrefs"); }
    { frmCapPal d(capwnd, main); check(&d, "frmCapPal"); }
    { frmCapFrame d(capwnd, main); check(&d, "frmCapFrame"); }
    { auto* d = new frmAlloc(capwnd, main); check(d, "frmAlloc"); }
    TestPatternCamera camera;
    { VideoFormatDialog d(camera.formats(), camera.format(), main); check(&d, "VideoFormat"); }
    { VideoSourceDialog d(0, &camera, main); check(&d, "VideoSource"); }
    { VideoCompressionDialog d(VideoCoding::Mjpeg, 85, true, main); check(&d, "VideoCompression"); }
    InputCapabilities caps{8000, 48000, 1, 2, true, true, false};
    { AudioFormatChooser d(AudioFormatChoices(caps), WaveFormatEx::Pcm16(44100, 1), main); check(&d, "AudioFormat"); }
    main->outerWindow()->close();
    delete main;
    qunsetenv("KIVRA_VIRTUAL_DEVICES");
}

INSTANTIATE_TEST_SUITE_P(Languages, CaptureDialogsLayout,
                         ::testing::Values(text::Language::English, text::Language::ChineseTraditional));
