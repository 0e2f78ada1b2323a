// The analyser without its window: loading, selecting with the mouse in twips, zoom and restore,
// the play cursor in a zoomed view, and the saves, on surfaces of the graph's design size.
#include "general/General.h"
#include "platform/ui/Surface.h"
#include "sound/ExportName.h"
#include "sound/SoundAnalyser.h"
#include "platform/audio/WaveFile.h"

#include <QFile>
#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/WavFixture.h"

namespace {
using G = Selection::Graph;
using E = Selection::Event;

// A stereo 16-bit sound whose left sample is the frame's index and right sample its negative,
// so the table row drawn first tells which frame a drawing started at.
std::vector<int> IndexedStereo(int frames)
{
    std::vector<int> s;
    for (int i = 0; i < frames; ++i) {
        s.push_back(i);
        s.push_back(-i);
    }
    return s;
}

class SoundAnalyserTest : public ::testing::Test {
protected:
    SoundAnalyserTest()
        : analyser({upper, upperCopy, lower, lowerCopy, window, Qt::white, Qt::lightGray, Qt::black})
    {
    }
    void Drag(double from, double to)
    {
        analyser.Mouse(G::Upper, E::Press, Qt::LeftButton, from);
        analyser.Mouse(G::Upper, E::Move, Qt::LeftButton, (from + to) / 2);
        analyser.Mouse(G::Upper, E::Move, Qt::LeftButton, to);
        analyser.Mouse(G::Upper, E::Release, Qt::NoButton, to);
    }
    const SelectionReadout& Readout() const { return analyser.selection().readout(); }

    TempDir dir;
    Surface upper, upperCopy, lower, lowerCopy, window;
    SoundAnalyser analyser;
};
}

TEST_F(SoundAnalyserTest, LoadDrawsBothChannelsAndSelectsTheWholeSound)
{
    const QString path = dir.file("indexed.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{.channels = 2}, IndexedStereo(10061)));
    ASSERT_TRUE(analyser.Load(path, 1, 0).ok());
    const SoundDocument& d = analyser.document();
    EXPECT_TRUE(d.loaded);
    EXPECT_EQ(d.totalSamples(), 10061);
    EXPECT_EQ(d.caption, "Waveform  View - (" + path + ")");
    EXPECT_EQ(upper.ScaleWidth(), 10060);
    EXPECT_TRUE(analyser.layout().lowerVisible);
    EXPECT_GT(upper.PrimitiveCount(), 0u);
    EXPECT_GT(lower.PrimitiveCount(), 0u);
    EXPECT_FALSE(analyser.timeScaleCaption().isEmpty());
    EXPECT_GT(window.PrimitiveCount(), 0u);   // the time scale's ticks
    EXPECT_EQ(d.selectionEndTicks, 22814);    // 10061 frames at 44100 Hz, in 10 µs ticks
    EXPECT_TRUE(analyser.ready());
    EXPECT_FALSE(analyser.hasSelection());
}

TEST_F(SoundAnalyserTest, ARejectedFileLeavesItsFieldInErrorAndNothingDrawn)
{
    const QString path = dir.file("12bit.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{.bitsPerSample = 12}, std::vector<int>(300, 5)));
    const SoundDocument::LoadResult r = analyser.Load(path, 1, 0);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(analyser.document().bitsText, "Error");
    EXPECT_EQ(upper.PrimitiveCount(), 0u);
    analyser.Reset();
    EXPECT_FALSE(analyser.ready());
    EXPECT_EQ(analyser.Zoom(), SoundAnalyser::ZoomResult::NotReady);
    EXPECT_FALSE(analyser.Restore());
}

TEST_F(SoundAnalyserTest, SelectZoomAndRestore)
{
    const QString path = dir.file("indexed.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{.channels = 2}, IndexedStereo(10061)));
    ASSERT_TRUE(analyser.Load(path, 1, 0).ok());
    EXPECT_EQ(analyser.Zoom(), SoundAnalyser::ZoomResult::NoSelection);

    Drag(1000, 2000);
    const int first = Readout().initialSample.toInt();
    const int last = Readout().finalSample.toInt();
    EXPECT_NEAR(first, 1000, 20);
    EXPECT_NEAR(last, 2000, 20);
    EXPECT_EQ(Readout().selectedSamples.toInt(), last - first + 1);
    EXPECT_EQ(analyser.document().selectionStartTicks, analyser.selection().selectionStartTicks());

    // The zoomed drawing starts at frame `first`: the table's first row is that frame.
    ASSERT_EQ(analyser.Zoom(), SoundAnalyser::ZoomResult::Zoomed);
    const SoundDocument& d = analyser.document();
    EXPECT_EQ(d.viewStartSample(), first);
    EXPECT_EQ(d.viewSamples(), last - first + 2);
    EXPECT_FLOAT_EQ(analyser.columnTable().At(0, 0), float(first) / 32768.0f);
    EXPECT_FLOAT_EQ(analyser.columnTable().At(0, 1), float(-first) / 32768.0f);
    EXPECT_EQ(analyser.layout().ampTag, "0");
    EXPECT_FALSE(analyser.selection().upperShading().visible);

    // A second zoom works within that view, from its first frame.
    Drag(0, 5030);
    EXPECT_EQ(Readout().initialSample.toInt(), first);
    ASSERT_EQ(analyser.Zoom(), SoundAnalyser::ZoomResult::Zoomed);
    EXPECT_EQ(d.viewStartSample(), first);
    EXPECT_LT(d.viewSamples(), last - first + 2);

    // Cancel selects the whole zoomed view.
    analyser.Cancel();
    EXPECT_EQ(Readout().selectedSamples.toInt(), d.viewSamples());

    // Restore draws the whole sound and selects all of it.
    ASSERT_TRUE(analyser.Restore());
    EXPECT_EQ(d.viewStartSample(), 0);
    EXPECT_EQ(d.viewSamples(), 10061);
    EXPECT_EQ(Readout().initialSample, "0");
    EXPECT_EQ(Readout().selectedSamples, "10061");
    EXPECT_FLOAT_EQ(analyser.columnTable().At(0, 0), 0.0f);
}

TEST_F(SoundAnalyserTest, TheCursorFollowsTheZoomedView)
{
    const QString path = dir.file("second.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{.sampleRate = 10000}, std::vector<int>(20000, 100)));
    ASSERT_TRUE(analyser.Load(path, 1, 0).ok());
    analyser.PlayerFocus(true, 2.0);
    analyser.CursorMoved(1.0, 2.0);
    EXPECT_EQ(analyser.cursor().x(), 5030);   // half way across the whole sound
    EXPECT_TRUE(analyser.cursor().linesVisible());

    // Zoomed into the second half, a second in: the cursor is at the view's left edge, and
    // before the view it is hidden.
    Drag(5030, 10060);
    ASSERT_EQ(analyser.Zoom(), SoundAnalyser::ZoomResult::Zoomed);
    analyser.CursorMoved(1.0, 2.0);
    EXPECT_LE(analyser.cursor().x(), 5);
    EXPECT_TRUE(analyser.cursor().linesVisible());
    analyser.CursorMoved(0.5, 2.0);
    EXPECT_FALSE(analyser.cursor().linesVisible());
    EXPECT_EQ(analyser.cursor().Text2(), "5000");   // the sound's own sample, wherever the view
}

TEST_F(SoundAnalyserTest, SavesWriteTheSelectionAndTakeTheNewName)
{
    const QString path = dir.file("indexed.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{.channels = 2}, IndexedStereo(10061)));
    ASSERT_TRUE(analyser.Load(path, 1, 0).ok());
    Drag(1000, 2000);
    const int frames = Readout().selectedSamples.toInt();

    const QString clip = dir.file("left.wav");
    const Ask never = [](const Outcome&) { return Answer::No; };
    ASSERT_TRUE(analyser.SaveSelected(ChooseExportName(clip, 1, path), ChannelChoice::Left, never).ok);
    WaveFile saved;
    ASSERT_EQ(saved.Open(clip), 0);
    EXPECT_EQ(saved.Length(), 44 + 2 * frames);   // one channel of 16-bit frames
    EXPECT_EQ(analyser.document().fileName, clip);
    EXPECT_EQ(analyser.savedCaption(), "Waveform  View - (" + clip + ")");
    EXPECT_EQ(analyser.document().samplesFile, path);   // still drawn and read from the original

    const QString pasted = dir.file("Untitled2.wav");
    ASSERT_TRUE(analyser.PasteClip(pasted, 1.0f, ChannelChoice::Both).ok);
    EXPECT_EQ(QFile(pasted).size(), 44 + 4 * frames);

    // Saving into a folder that does not exist fails and keeps the name.
    const Outcome failed = analyser.SaveWhole(ChooseExportName(dir.file("no/such.wav"), 1, path), never);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.title, "Save Error");
    EXPECT_EQ(analyser.document().fileName, clip);
}

// The playback commands as orders for the player: nothing without a sound; Space plays the
// selection from its start and a second Space, while it plays, stops it; Play opens the file.
TEST_F(SoundAnalyserTest, PlaybackCommandsGiveThePlayerItsOrders)
{
    EXPECT_FALSE(analyser.StopPressed().pause);
    EXPECT_FALSE(analyser.PlaySelectionPressed(false, false, false).play);
    const QString path = dir.file("indexed.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{.channels = 2}, IndexedStereo(11025)));
    ASSERT_TRUE(analyser.Load(path, 1, 0).ok());
    Drag(1006, 5030);   // about 0.1 to 0.5 of the view
    const PlayerOrder space = analyser.PlaySelectionPressed(false, false, false);
    EXPECT_TRUE(space.play);
    EXPECT_EQ(space.url, "file:\\\\" + path);
    ASSERT_TRUE(space.seek.has_value());
    EXPECT_NEAR(*space.seek, general::Val(Readout().initialTime), 0.01);
    EXPECT_EQ(space.playButtons, false);
    const PlayerOrder again = analyser.PlaySelectionPressed(false, true, true);
    EXPECT_TRUE(again.pause);
    EXPECT_FALSE(again.play);
    EXPECT_EQ(again.playButtons, true);
    const PlayerOrder play = analyser.PlayPressed(false);
    EXPECT_TRUE(play.focusGraph && play.play);
    EXPECT_EQ(play.url, "file:\\\\" + path);
    EXPECT_FALSE(play.seek.has_value());
}
