// Selecting with the mouse on the analyser's graphs: presses, drags, edge moves, Cancel, and the
// amplitude read-out that the gestures drive.
#include "sound/ColumnTable.h"
#include "sound/Selection.h"
#include "text/LoadText.h"

#include <gtest/gtest.h>

namespace {

using G = Selection::Graph;
using E = Selection::Event;
constexpr double W = 10000;

// One second at 44100 Hz: TicksAt(x) = 10x, SampleAt(x) = Int(44099 x / W).
SelectionView OneSecond()
{
    return {.sampleRate = 44100, .viewSamples = 44100, .viewDuration = 1.0,
            .viewStartSample = 0, .viewStartTicks = 0};
}

class SelectionTest : public ::testing::Test {
protected:
    SelectionTest() : sel(table) { Ready(OneSecond(), false); }

    void Ready(const SelectionView& view, bool stereo)
    {
        sel.InitStart();
        sel.SetView(view);
        sel.SetStereo(stereo);
        sel.SetLoaded(true);
        sel.SetSelectionTicks(0, std::int64_t(view.viewDuration * 100000));
    }
    void Press(G g, Qt::MouseButton b, double x) { sel.Mouse(g, E::Press, b, x, W); }
    void Move(G g, Qt::MouseButtons b, double x) { sel.Mouse(g, E::Move, b, x, W); }
    void Release(G g) { sel.Mouse(g, E::Release, Qt::NoButton, 0, W); }
    // Press at `from` and drag with the left button to `to` on the upper graph.
    void Drag(double from, double to)
    {
        Press(G::Upper, Qt::LeftButton, from);
        Move(G::Upper, Qt::LeftButton, to);
    }
    SelectionReadout Texts(QString a, QString b, QString c, QString d, QString e, QString f)
    {
        return {a, b, c, d, e, f};
    }

    ColumnTable table;
    Selection sel;
};

TEST_F(SelectionTest, GesturesWaitForTheResetAndALoadedSound)
{
    Selection fresh(table);
    fresh.SetView(OneSecond());
    fresh.SetLoaded(true);
    fresh.Mouse(G::Upper, E::Press, Qt::LeftButton, 500, W);  // before InitStart
    EXPECT_FALSE(fresh.upperShading().visible);
    EXPECT_TRUE(fresh.readout().initialTime.isEmpty());

    fresh.InitStart();  // the reset leaves the window without a sound
    fresh.Mouse(G::Upper, E::Press, Qt::LeftButton, 500, W);
    EXPECT_FALSE(fresh.upperShading().visible);

    // A move before any press finds no shading and changes nothing.
    fresh.SetLoaded(true);
    fresh.Mouse(G::Upper, E::Move, Qt::LeftButton, 800, W);
    EXPECT_EQ(fresh.readout(), SelectionReadout{});
}

TEST_F(SelectionTest, PressAtTheLeftEdgeSelectsFromTheViewStart)
{
    // A zoomed view from 0.5 s: frames 22050..26459.
    Ready({.sampleRate = 44100, .viewSamples = 4410, .viewDuration = 0.1,
           .viewStartSample = 22050, .viewStartTicks = 50000}, false);
    Press(G::Upper, Qt::LeftButton, 0);
    EXPECT_EQ(sel.readout(), Texts("0.5", "0.6", "0", "22050", "26459", "0"));
    EXPECT_EQ(sel.selectionStartTicks(), 50000);
    EXPECT_EQ(sel.selectionEndTicks(), 60000);
    EXPECT_EQ(sel.draggedSampleCount(), "");
    EXPECT_TRUE(sel.upperShading().visible);
    EXPECT_EQ(sel.upperShading(), sel.lowerShading());
    EXPECT_EQ(sel.upperShading().width, 0.0f);
}

TEST_F(SelectionTest, LeftDragStopsAtItsStartAndAtTheRightEdge)
{
    Drag(1000, 3000);
    // finalSample rounds here: 44099 * 0.3 = 13229.7 -> 13230; 8822 frames = 0.20005 s.
    const SelectionReadout dragged = Texts("0.1", "0.3", "0.20005", "4409", "13230", "8822");
    EXPECT_EQ(sel.readout(), dragged);
    EXPECT_EQ(sel.draggedSampleCount(), "8822");
    EXPECT_EQ(sel.upperShading().width, 2000.0f);
    EXPECT_EQ(sel.lowerShading().width, 2000.0f);

    for (double x : {1000.0, 400.0, -50.0, W + 15}) {  // back to or past the start, beyond W
        Move(G::Upper, Qt::LeftButton, x);
        EXPECT_EQ(sel.readout(), dragged) << x;
        EXPECT_EQ(sel.upperShading().width, 2000.0f) << x;
    }
    Move(G::Upper, Qt::LeftButton, W);  // the right edge itself still counts
    EXPECT_EQ(sel.readout().finalSample, "44099");
    EXPECT_EQ(sel.readout().finalTime, "1");

    // Only the left button alone drags.
    Move(G::Upper, Qt::LeftButton | Qt::RightButton, 2000);
    EXPECT_EQ(sel.readout().finalSample, "44099");
}

TEST_F(SelectionTest, RightPressTakesAnEdgeOnlyCloseToIt)
{
    Drag(1000, 3000);
    Press(G::Upper, Qt::RightButton, 940);   // 60 left of the selection
    Press(G::Upper, Qt::RightButton, 1000);  // on the edge: distance 0
    Press(G::Upper, Qt::RightButton, 3060);  // 60 right of it
    EXPECT_FALSE(sel.dragLeftEdge() || sel.dragRightEdge() || sel.resizePointer());

    Press(G::Upper, Qt::RightButton, 960);
    EXPECT_TRUE(sel.dragLeftEdge());
    EXPECT_TRUE(sel.resizePointer());
    EXPECT_EQ(sel.dragOriginLeft(), 1000);
    EXPECT_EQ(sel.dragOriginWidth(), 2000);
    Release(G::Upper);
    EXPECT_FALSE(sel.dragLeftEdge() || sel.resizePointer());

    Press(G::Upper, Qt::RightButton, 3040);
    EXPECT_TRUE(sel.dragRightEdge());
    EXPECT_FALSE(sel.dragLeftEdge());
    EXPECT_EQ(sel.readout().initialSample, "4409");  // a right press changes nothing else

    Release(G::Upper);
    Drag(1000, 1030);  // narrower than 40
    Press(G::Upper, Qt::RightButton, 980);
    Press(G::Upper, Qt::RightButton, 1050);
    EXPECT_FALSE(sel.dragLeftEdge() || sel.dragRightEdge() || sel.resizePointer());
}

TEST_F(SelectionTest, LeftEdgeMoveKeepsFiftyUnitsAndIgnoresTimesLeftOfTheGraph)
{
    Drag(1000, 3000);
    Press(G::Upper, Qt::RightButton, 960);
    Move(G::Upper, Qt::RightButton, 2960);  // would leave 40 units
    EXPECT_EQ(sel.upperShading().left, 1000.0f);
    EXPECT_EQ(sel.upperShading().width, 2000.0f);

    Move(G::Upper, Qt::RightButton, 2950);  // leaves exactly 50
    EXPECT_EQ(sel.upperShading().left, 2950.0f);
    EXPECT_EQ(sel.upperShading().width, 50.0f);
    EXPECT_EQ(sel.lowerShading(), sel.upperShading());
    EXPECT_TRUE(sel.upperShading().copyVisible);
    // Ticks 29500..30000; frames Int(44099 * 0.295) = 13009 .. 13230.
    const SelectionReadout moved = Texts("0.295", "0.3", "0.005", "13009", "13230", "222");
    EXPECT_EQ(sel.readout(), moved);
    EXPECT_EQ(sel.draggedSampleCount(), "222");
    EXPECT_EQ(sel.lastDragX(), 2950);

    Move(G::Upper, Qt::RightButton, -300);  // left of the graph: the shading only
    EXPECT_EQ(sel.upperShading().left, -300.0f);
    EXPECT_EQ(sel.upperShading().width, 3300.0f);
    EXPECT_EQ(sel.upperShading().copyLeft(), 300.0f);
    EXPECT_EQ(sel.readout(), moved);
    EXPECT_EQ(sel.selectionStartTicks(), 29500);
    EXPECT_EQ(sel.lastDragX(), -300);
}

TEST_F(SelectionTest, RightEdgeMoveMeasuresAndReadsThePoint)
{
    for (int row = 0; row < ColumnTable::Rows; ++row)
        table.Set(row, 0, 0.5f);
    sel.amplitude().SetPerColumn(true);  // 44100 frames in 10000 units
    Drag(1000, 3000);
    Press(G::Upper, Qt::RightButton, 3040);
    Move(G::Upper, Qt::RightButton, 5000);
    EXPECT_EQ(sel.upperShading().width, 4000.0f);
    // finalSample uses Int here: 44099 * 0.5 = 22049.5 -> 22049.
    EXPECT_EQ(sel.readout(), Texts("0.1", "0.5", "0.4", "4409", "22049", "17641"));
    EXPECT_EQ(sel.amplitude().caption(), "0.5");

    Move(G::Upper, Qt::RightButton, 1040);  // not more than 50 right of the left edge
    Move(G::Upper, Qt::RightButton, W + 1);  // beyond the graph
    EXPECT_EQ(sel.readout().finalSample, "22049");
}

TEST_F(SelectionTest, InsideTheShadingRightPressChoosesTheNearerEdge)
{
    Drag(1000, 1090);  // 90 wide: the thresholds are width / 3 = 30
    Press(G::UpperShading, Qt::RightButton, 1020);
    EXPECT_TRUE(sel.dragLeftEdge());
    EXPECT_EQ(sel.dragOriginWidth(), 90);
    Release(G::UpperShading);
    EXPECT_FALSE(sel.dragLeftEdge() || sel.resizePointer());
    Press(G::UpperShading, Qt::RightButton, 1040);
    EXPECT_TRUE(sel.dragRightEdge());
    EXPECT_FALSE(sel.dragLeftEdge());
    Release(G::UpperShading);

    Drag(1000, 3000);  // 2000 wide: 50 from the left, 100 from the right
    Press(G::UpperShading, Qt::RightButton, 2000);
    EXPECT_FALSE(sel.dragLeftEdge() || sel.dragRightEdge());
    Press(G::UpperShading, Qt::RightButton, 2950);
    EXPECT_TRUE(sel.dragRightEdge());
    Release(G::UpperShading);
    Press(G::UpperShading, Qt::RightButton, 1030);
    EXPECT_TRUE(sel.dragLeftEdge());
}

TEST_F(SelectionTest, LeftPressInsideTheShadingSelectsToTheEndOfTheView)
{
    sel.amplitude().ShowAmplitudeBoxClicked(true);
    Ready({.sampleRate = 1000, .viewSamples = 1000, .viewDuration = 1.0, .viewStartSample = 0,
           .viewStartTicks = 0}, false);
    for (int row = 0; row < 1000; ++row)
        table.Set(row, 0, 0.001f * float(row));
    Drag(1000, 3000);
    Release(G::Upper);
    ASSERT_EQ(sel.amplitude().toolTipId(), 413);

    Press(G::UpperShading, Qt::LeftButton, 2000);
    // From frame Int(999 * 0.2) = 199 to 999 and from 0.2 s to 1 s, not "0".
    EXPECT_EQ(sel.readout(), Texts("0.2", "1", "0.8", "199", "999", "801"));
    EXPECT_EQ(sel.draggedSampleCount(), "");
    EXPECT_EQ(sel.upperShading().left, 2000.0f);
    EXPECT_EQ(sel.amplitude().caption(), "0.199");
    EXPECT_EQ(sel.amplitude().toolTipId(), 413);  // the tool tip stays

    // The drag continues on the highlight copy and does not extend the new selection.
    Move(G::UpperShading, Qt::LeftButton, 2500);
    EXPECT_EQ(sel.upperShading().width, 0.0f);
    EXPECT_EQ(sel.readout().finalSample, "999");
}

TEST_F(SelectionTest, LowerGraphSelectsForTheRightChannel)
{
    Ready(OneSecond(), true);
    Drag(1000, 3000);
    Press(G::Lower, Qt::LeftButton, 2000);
    // The interval and the count keep the texts of the previous selection.
    EXPECT_EQ(sel.readout(), Texts("0.2", "1", "0.20005", "8819", "44099", "8822"));
    Move(G::Lower, Qt::LeftButton, 3000);
    // Int here, and the interval from the ticks.
    EXPECT_EQ(sel.readout(), Texts("0.2", "0.3", "0.1", "8819", "13229", "4411"));
    EXPECT_EQ(sel.upperShading().width, 1000.0f);
    Move(G::Lower, Qt::RightButton, 5000);  // the right button does nothing here
    EXPECT_EQ(sel.readout().finalSample, "13229");

    Ready(OneSecond(), false);  // a mono sound has no lower graph
    Press(G::Lower, Qt::LeftButton, 2000);
    EXPECT_FALSE(sel.upperShading().visible);
}

TEST_F(SelectionTest, CancelSelectsTheWholeZoomedView)
{
    Drag(1000, 3000);
    Release(G::Upper);
    // Zoom into frames 4409..13230 (the count is selectedSamples + 1).
    sel.HideShading();
    sel.SetView({.sampleRate = 44100, .viewSamples = 8823, .viewDuration = 8823.0 / 44100,
                 .viewStartSample = 4409, .viewStartTicks = sel.selectionStartTicks()});
    Drag(500, 700);
    sel.Cancel();
    EXPECT_FALSE(sel.upperShading().visible || sel.lowerShading().visible);
    EXPECT_EQ(sel.upperShading().width, 0.0f);
    EXPECT_EQ(sel.readout(), Texts("0.1", "0.30007", "0.20007", "4409", "13231", "8823"));
    EXPECT_EQ(sel.draggedSampleCount(), "");
    const SelectionReadout& r = sel.readout();
    EXPECT_EQ(r.finalSample.toLongLong() - r.initialSample.toLongLong() + 1, 8823);
}

TEST_F(SelectionTest, PeriodAndFrequencyFollowTheSelectionWithTheTypedCycles)
{
    auto hertz = [&] { return sel.period().frequencyHertz().toDouble(); };
    // About 0.1 s selected, 10 cycles: about 100 Hz.
    Drag(1000, 2000);
    Release(G::Upper);
    sel.CycleCountChanged("10");
    EXPECT_NEAR(hertz(), 100, 0.1);
    // A new selection of about 0.2 s is measured with the same 10 cycles: 50 Hz, not the old 100.
    Drag(1000, 3000);
    Release(G::Upper);
    EXPECT_NEAR(hertz(), 10 / sel.readout().intervalTime.toDouble(), 0.01);
    EXPECT_NEAR(hertz(), 50, 0.1);
    EXPECT_EQ(sel.period().frequencyCaption(), LoadText(193) + " = " + sel.period().frequencyHertz() + " (Hz)");
    // A press alone selects nothing: no frequency is shown for it.
    Press(G::Upper, Qt::LeftButton, 4000);
    Release(G::Upper);
    EXPECT_EQ(sel.readout().intervalTime, "0");
    EXPECT_EQ(sel.period().frequencyCaption(), LoadText(193) + "= ");
    // Cancel selects the whole second: 10 Hz.
    sel.Cancel();
    EXPECT_EQ(sel.period().frequencyHertz(), "10");
}

TEST_F(SelectionTest, CancelBeforeAnySelectionOnlySetsTheTicks)
{
    sel.SetSelectionTicks(123, 456);
    sel.Cancel();
    EXPECT_EQ(sel.selectionStartTicks(), 0);
    EXPECT_EQ(sel.selectionEndTicks(), 100000);
    EXPECT_EQ(sel.readout(), SelectionReadout{});
}

TEST_F(SelectionTest, SevenHourViewMeasuresBeyondThirtyTwoBitTicks)
{
    Ready({.sampleRate = 8000, .viewSamples = 201600000, .viewDuration = 25200,
           .viewStartSample = 0, .viewStartTicks = 0}, false);
    Drag(5000, 6000);
    Press(G::Upper, Qt::RightButton, 6040);
    Move(G::Upper, Qt::RightButton, 9500);
    EXPECT_EQ(sel.selectionEndTicks(), 2394000000LL);
    EXPECT_EQ(sel.readout().finalTime, "23940");
    EXPECT_EQ(sel.readout().intervalTime, "11340");
    EXPECT_EQ(sel.readout().finalSample, "191519999");

    sel.Cancel();
    EXPECT_EQ(sel.selectionEndTicks(), 2520000000LL);
    EXPECT_EQ(sel.readout().intervalTime, "25200");
    EXPECT_EQ(sel.readout().selectedSamples, "201600000");
}

TEST_F(SelectionTest, ReadoutShowsThePointAfterAPressAndTheAverageAfterADrag)
{
    Ready({.sampleRate = 1000, .viewSamples = 1000, .viewDuration = 1.0, .viewStartSample = 0,
           .viewStartTicks = 0}, true);
    sel.amplitude().ShowAmplitudeBoxClicked(true);
    for (int row = 0; row < 1000; ++row) {
        table.Set(row, 0, 0.001f * float(row));
        table.Set(row, 1, -0.002f * float(row));
    }
    Press(G::Upper, Qt::LeftButton, 2000);  // frame 199
    EXPECT_EQ(sel.amplitude().caption(), "0.199");
    EXPECT_EQ(sel.amplitude().toolTipId(), 411);
    Release(G::Upper);
    EXPECT_EQ(sel.amplitude().caption(), "0.199");
    EXPECT_EQ(sel.amplitude().toolTipId(), 411);

    Move(G::Upper, Qt::LeftButton, 3000);  // frames 199..300
    Release(G::Upper);
    EXPECT_EQ(sel.amplitude().caption(), "0.2495");
    EXPECT_EQ(sel.amplitude().toolTipId(), 414);

    // A double-click switches channel: right average (417), then left again (414).
    sel.AmpDoubleClick();
    EXPECT_EQ(sel.amplitude().caption(), "-0.499");
    EXPECT_EQ(sel.amplitude().toolTip(), "Right channel average amplitude");
    sel.AmpDoubleClick();
    EXPECT_EQ(sel.amplitude().caption(), "0.2495");
    EXPECT_EQ(sel.amplitude().toolTipId(), 414);
}

TEST_F(SelectionTest, PerColumnReleaseShowsTheColumnUnderTheSelectionStart)
{
    for (int row = 0; row < ColumnTable::Rows; ++row)
        table.Set(row, 0, float(row) / 10000);
    sel.amplitude().SetPerColumn(true);
    sel.amplitude().ShowAmplitudeMenuClicked();  // shown by the menu although the drawing hid it
    Drag(2500, 4000);
    Release(G::Upper);
    EXPECT_EQ(sel.amplitude().caption(), "0.25");
    EXPECT_EQ(sel.amplitude().toolTipId(), 412);

    Press(G::Upper, Qt::RightButton, 2460);  // the left edge, moved left of the graph
    Move(G::Upper, Qt::RightButton, -200);
    Release(G::Upper);
    EXPECT_EQ(sel.amplitude().caption(), "0.0");
}

} // namespace
