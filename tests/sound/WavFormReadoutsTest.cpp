// The analyser window's additions, wired: a 24-bit file from sox opens and shows its format, the
// levels read-out follows a drag, Edit > Copy puts the read-outs on the clipboard, and Space plays
// the selection and stops the player and the cursor at its end.
#include "general/General.h"
#include "platform/video/MediaPlayer.h"
#include "platform/ui/PictureBox.h"
#include "sound/WavForm.h"

#include <QAction>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "support/FrameFixture.h"
#include "support/Shots.h"
#include "support/TextFits.h"
#include "support/Tools.h"
#include "support/WavFixture.h"

namespace {
bool waitFor(const std::function<bool()>& done, int ms = 8000)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) QTest::qWait(10);
    return done();
}

class WavFormReadoutsTest : public FrameFixture {
protected:
    QString text(WavForm* w, const char* name) { return w->findChild<QLabel*>(name)->text(); }
    // Drags across the upper graph between two fractions of its width.
    void drag(WavForm* w, double from, double to)
    {
        auto* graph = w->findChild<PictureBox*>("Picture2");
        const int y = graph->height() / 2;
        QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(int(graph->width() * from), y));
        QMouseEvent move(QEvent::MouseMove, QPointF(graph->width() * to, y), graph->mapToGlobal(QPointF(graph->width() * to, y)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(graph, &move);
        QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(int(graph->width() * to), y));
    }
};
}

TEST_F(WavFormReadoutsTest, AWideFileShowsItsFormatLevelsAndCopiedReadouts)
{
    if (!ToolAvailable("sox")) GTEST_SKIP() << "sox missing";
    const QString path = dir.file("tone24.wav");
    ASSERT_EQ(RunTool("sox", {"-n", "-r", "48000", "-c", "1", "-b", "24", path, "synth", "1", "sine", "1000"}).exitCode, 0);
    WavForm* w = openSound(path);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(prompts->messages().size(), 0);
    EXPECT_EQ(text(w, "Label10"), "24 bits");
    EXPECT_EQ(text(w, "Label6_0"), "48000");
    EXPECT_TRUE(w->findChild<QLabel*>("lblLoadProblem")->isHidden());
    // The amplitude table holds the full-scale wave at its true values.
    float highest = 0;
    for (int x = 0; x < 10000; ++x) highest = std::max(highest, w->columnTable().At(x, 0));
    EXPECT_GT(highest, 0.95f);
    EXPECT_LE(highest, 1.0f);

    drag(w, 0.1, 0.6);
    EXPECT_EQ(text(w, "lblLevels"), "RMS 0.00 dBFS  Peak 0.00 dBFS");
    w->findChild<QAction*>("mnucopy")->trigger();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("Filename: " + path + "\n")) << qPrintable(copied);
    EXPECT_TRUE(copied.contains("Samples\t" + text(w, "Label16_4") + "\t" + text(w, "Label16_5")));
    EXPECT_TRUE(copied.contains("RMS 0.00 dBFS  Peak 0.00 dBFS"));

    // A float file says so in its bits label, which still shows whole; a refused one's reason
    // shows whole too.
    const QString floats = dir.file("float.wav");
    ASSERT_EQ(RunTool("sox", {"-n", "-r", "8000", "-c", "2", "-b", "32", "-e", "floating-point", floats,
                              "synth", "0.5", "sine", "440"}).exitCode, 0);
    WavForm* f = openSound(floats);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(text(f, "Label10"), "32 bits float");
    EXPECT_TRUE(ClippedTexts(f).isEmpty()) << ClippedTexts(f).join("\n").toStdString();
    SaveShot(f, "analyser-float");
}

TEST_F(WavFormReadoutsTest, SpacePlaysTheSelectionAndStopsAtItsEnd)
{
    const QString path = dir.file("two seconds.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(88200, 1, 440, 8000)));
    WavForm* w = openSound(path);
    ASSERT_NE(w, nullptr);
    drag(w, 0.25, 0.5);
    const double first = text(w, "Label16_4").toDouble();
    const double count = text(w, "Label16_6").toDouble();
    const double end = (first + count) / 44100;
    ASSERT_GT(count, 20000);
    QFrame* line = w->findChild<QFrame*>("Line1");
    MediaPlayer* player = w->mediaPlayer();

    w->findChild<QAction*>("mnuplayselection")->trigger();
    ASSERT_TRUE(waitFor([&] { return player->playState() == MediaPlayer::Playing; })) << player->errorString().toStdString();
    // It starts at the selection's start, not at the sound's.
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() > first / 44100; }));
    QLineEdit* seconds = w->findChild<QLineEdit*>("Text1");
    ASSERT_TRUE(waitFor([&] { return seconds->text().toDouble() > first / 44100 - 0.05; }));
    ASSERT_TRUE(waitFor([&] { return player->playState() != MediaPlayer::Playing; }));
    // Stopped at the end: the player waits there and the cursor stands on the selection's end.
    EXPECT_NEAR(player->currentPosition(), end, 0.02);
    EXPECT_NEAR(seconds->text().toDouble(), end, 0.0005);
    const int endX = w->analyser().cursor().x();
    EXPECT_NEAR(endX, int(end * 10060 / 2.0), 2);
    QTest::qWait(200);
    EXPECT_EQ(w->analyser().cursor().x(), endX);
    EXPECT_TRUE(line->isVisible());

    // Shift+Space loops: the position comes back to the start.
    w->findChild<QAction*>("mnuloopselection")->trigger();
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() > end - 0.1; }));
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() < end - 0.2; }, 3000));
    EXPECT_EQ(player->playState(), MediaPlayer::Playing);
    w->findChild<QAction*>("mnuplayselection")->trigger();   // a second press stops
    ASSERT_TRUE(waitFor([&] { return player->playState() != MediaPlayer::Playing; }));

    // Space on a focused button still presses it (Cancel: the whole view selected) and plays
    // nothing; on the graph it plays.
    auto* cancel = w->findChild<QPushButton*>("Command8");
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Space);
    EXPECT_EQ(text(w, "Label16_6"), "88200");
    EXPECT_FALSE(w->analyser().stretchPlayback().active());
    auto* graph = w->findChild<PictureBox*>("Picture2");
    graph->setFocus();
    QTest::keyClick(graph, Qt::Key_Space);
    EXPECT_TRUE(w->analyser().stretchPlayback().active());
    ASSERT_TRUE(waitFor([&] { return player->playState() == MediaPlayer::Playing; }));
    QTest::keyClick(graph, Qt::Key_Space);
    ASSERT_TRUE(waitFor([&] { return player->playState() != MediaPlayer::Playing; }));
}

TEST_F(WavFormReadoutsTest, TheWheelZoomsAndScrollsTheGraphAndTheScrollBarFollows)
{
    const QString path = dir.file("ten seconds.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{.channels = 2}, Sine(441000, 2, 3, 20000)));
    WavForm* w = openSound(path);
    ASSERT_NE(w, nullptr);
    auto* graph = w->findChild<PictureBox*>("Picture2");
    auto* bar = w->findChild<QScrollBar*>("hsbView");
    EXPECT_TRUE(bar->isHidden());
    auto wheelAt = [&](double fraction, int delta, Qt::KeyboardModifiers keys) {
        const QPointF p(graph->width() * fraction, graph->height() / 2.0);
        QWheelEvent e(p, graph->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(graph, &e);
    };
    const double W = w->analyser().document().viewSamples();
    const double x = graph->toTwips(QPointF(graph->width() * 0.25, 0)).x();
    const double under = w->analyser().viewSpan().FrameAt(x, SoundAnalyser::GraphWidth - SoundAnalyser::GraphBorder);
    wheelAt(0.25, 120 * 8, Qt::ControlModifier);   // eight notches in
    const ViewSpan zoomed = w->analyser().viewSpan();
    EXPECT_LT(zoomed.frames, W / 5);
    EXPECT_NEAR(zoomed.FrameAt(x, SoundAnalyser::GraphWidth - SoundAnalyser::GraphBorder), under, 1.0);
    EXPECT_EQ(text(w, "Label17"), QString::number(zoomed.start));
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->value(), zoomed.start);
    EXPECT_EQ(bar->pageStep(), zoomed.frames);

    wheelAt(0.5, -120 * 2, {});   // two notches on
    EXPECT_EQ(w->analyser().viewSpan().start, zoomed.start + 2 * (zoomed.frames / 10));
    EXPECT_EQ(bar->value(), w->analyser().viewSpan().start);
    SaveShot(w, "analyser-zoomed");
    bar->setValue(1000);
    EXPECT_EQ(w->analyser().viewSpan().start, 1000);
    EXPECT_EQ(text(w, "Label17"), "1000");

    // The design's zoom and restore work on what is shown.
    drag(w, 0.2, 0.4);
    EXPECT_GE(text(w, "Label16_4").toLongLong(), 1000);
    w->findChild<QPushButton*>("Command6")->click();
    EXPECT_EQ(text(w, "Label17"), text(w, "Label16_4"));
    w->findChild<QPushButton*>("Command7")->click();
    EXPECT_EQ(text(w, "Label17"), "0");
    EXPECT_TRUE(bar->isHidden());
}
