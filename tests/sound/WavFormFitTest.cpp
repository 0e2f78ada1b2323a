// The analyser as a teacher first meets it: every caption and value shows whole, in the three
// languages, at the design size and scaled down to fit a small frame.
#include "app/MDIMain.h"
#include "platform/ui/PictureBox.h"
#include "sound/OpenSoundWindow.h"
#include "sound/WavForm.h"
#include "text/LoadText.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <gtest/gtest.h>

#include "support/ScriptedPrompts.h"
#include "support/Shots.h"
#include "support/TempDir.h"
#include "support/TextFits.h"
#include "support/WavFixture.h"
#include "support/TimeScale.h"

namespace {
// A one-hour stereo sound: the largest numbers the read-outs show (a sparse file of silence).
QString HourFile(const TempDir& dir)
{
    const QString path = dir.file("one hour.wav");
    const qint64 bytes = 3600LL * 44100 * 4;
    EXPECT_TRUE(WriteWav(path, WavShape{.channels = 2, .dataSizeField = bytes}, {}));
    EXPECT_TRUE(QFile(path).resize(44 + bytes));
    return path;
}

struct Case {
    text::Language language;
    const char* name;
};

class WavFormFitTest : public ::testing::TestWithParam<Case> {
protected:
    void TearDown() override { text::SetLanguage(text::Language::English); }
    // Opens the sound in a frame of the given size and selects a stretch near its end.
    WavForm* Open(MDIMain& frame, QSize frameSize)
    {
        text::SetLanguage(GetParam().language);
        frame.resize(frameSize);
        frame.show();
        OpenSoundWindow(HourFile(dir), 0);
        auto* w = qobject_cast<WavForm*>(frame.mdiArea()->subWindowList().last()->widget());
        QCoreApplication::processEvents();
        auto* graph = w->findChild<PictureBox*>("Picture2");
        QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(graph->width() * 9 / 10, 10));
        QTest::mouseMove(graph, QPoint(graph->width() - 2, 10));
        QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(graph->width() - 2, 10));
        return w;
    }
    TempDir dir;
    ScopedScriptedPrompts prompts;
};
}

TEST_P(WavFormFitTest, EveryTextShowsWholeAtTheDesignSize)
{
    MDIMain frame;
    WavForm* w = Open(frame, {1400, 900});
    EXPECT_EQ(w->findChild<PictureBox*>("WavFormSurface")->size(), QSize(735, 505));
    EXPECT_EQ(w->findChild<QLabel*>("Label13")->text(), "635040000");
    EXPECT_TRUE(ClippedTexts(w).isEmpty()) << ClippedTexts(w).join("\n").toStdString();
    // At the design size every text is in the font it was designed in, none shrunk.
    for (const QWidget* c : w->findChildren<QWidget*>())
        EXPECT_EQ(c->font().pointSizeF(), QApplication::font(c).pointSizeF()) << c->objectName().toStdString();
    SaveShot(w, QString("fit-design-") + GetParam().name);
}

TEST_P(WavFormFitTest, EveryTextShowsWholeScaledDownToASmallFrame)
{
    MDIMain frame;
    WavForm* w = Open(frame, {700, 500});
    const QSize area = frame.mdiArea()->viewport()->size();
    const QRect placed = frame.mdiArea()->subWindowList().last()->geometry();
    EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(placed)) << placed.width() << "x" << placed.height();
    EXPECT_TRUE(ClippedTexts(w).isEmpty()) << ClippedTexts(w).join("\n").toStdString();
    SaveShot(w, QString("fit-small-") + GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Languages, WavFormFitTest,
                         ::testing::Values(Case{text::Language::English, "en"},
                                           Case{text::Language::ChineseTraditional, "zh_TW"},
                                           Case{text::Language::ChineseSimplified, "zh_CN"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WavFormSizeTest, AWindowOpenedAmongMaximisedOnesReturnsToItsDesignSize)
{
    TempDir dir;
    ScopedScriptedPrompts prompts;
    MDIMain frame;
    frame.resize(1200, 800);
    frame.show();
    const QString path = dir.file("tone.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(4410, 1, 440, 8000)));
    OpenSoundWindow(path, 0);
    frame.mdiArea()->subWindowList().last()->showMaximized();
    for (int i = 0; i < 9; ++i) OpenSoundWindow(path, 0);
    QMdiSubWindow* second = frame.mdiArea()->subWindowList().last();
    ASSERT_TRUE(second->isMaximized());
    second->widget()->findChild<QAction*>("mnunormal")->trigger();
    QCoreApplication::processEvents();
    auto* surface = second->widget()->findChild<PictureBox*>("WavFormSurface");
    EXPECT_EQ(surface->size(), QSize(735, 505));
    SaveShot(&frame, "ten-windows-after-normal");
    // Made as small as the user can drag it, its controls still have room: no smaller than 60%
    // of the design, with fonts shrunk to match.
    second->resize(120, 40);
    QCoreApplication::processEvents();
    EXPECT_GE(surface->width(), 441);
    EXPECT_GE(surface->height(), 303);
    EXPECT_TRUE(ClippedTexts(second->widget()).isEmpty()) << ClippedTexts(second->widget()).join("\n").toStdString();
}

TEST(WavFormSizeTest, ASteadyToneMaximisedShowsItsTrueEnvelope)
{
    // 23 s of a steady tone, 101 frames a unit: the quick drawing beats, the envelope does not.
    TempDir dir;
    ScopedScriptedPrompts prompts;
    MDIMain frame;
    frame.resize(1400, 900);
    frame.show();
    const QString path = dir.file("steady 440.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(10060 * 101, 1, 440, 12000)));
    OpenSoundWindow(path, 0);
    QMdiSubWindow* sub = frame.mdiArea()->subWindowList().last();
    sub->widget()->findChild<QAction*>("mnumaximum")->trigger();
    auto* graph = sub->widget()->findChild<PictureBox*>("Picture2");
    // The height of ink in each pixel column of the graph as shown.
    auto lowestColumn = [graph] {
        const QImage shown = graph->grab().toImage();
        int lowest = shown.height();
        for (int x = 4; x < shown.width() - 40; ++x) {
            int top = -1, bottom = -1;
            for (int y = 0; y < shown.height(); ++y)
                if (shown.pixelColor(x, y) == QColor(0, 0, 192)) {
                    if (top < 0) top = y;
                    bottom = y;
                }
            lowest = std::min(lowest, top < 0 ? 0 : bottom - top);
        }
        return lowest;
    };
    const int quick = lowestColumn();
    const int height = int(graph->height() * 2 * 12000 / 17.0 / graph->surface().ScaleHeight());
    EXPECT_LT(quick, height / 2);
    QTRY_VERIFY_WITH_TIMEOUT(lowestColumn() >= height - 3, Slack(20000));
    SaveShot(&frame, "steady-sine-maximised");
}
