// The amplitude read-out: table rows per sample and per column, the average, the tool tips by
// channel, the switches that show it, and the row clamp.
#include "sound/AmplitudeReadout.h"
#include "sound/ColumnTable.h"
#include "text/LoadText.h"

#include <gtest/gtest.h>

namespace {

using Graph = AmplitudeReadout::Graph;

SelectionReadout Span(QString first, QString last)
{
    SelectionReadout r;
    r.initialSample = first;
    r.finalSample = last;
    return r;
}

TEST(AmplitudeReadoutTest, FormatShowsOneToFiveDecimals)
{
    EXPECT_EQ(AmplitudeReadout::FormatAmplitude(0), "0.0");
    EXPECT_EQ(AmplitudeReadout::FormatAmplitude(3.14159265), "3.14159");
    EXPECT_EQ(AmplitudeReadout::FormatAmplitude(-12.5), "-12.5");
    EXPECT_EQ(AmplitudeReadout::FormatAmplitude(0.000004), "0.0");
}

TEST(AmplitudeReadoutTest, PointValueBySampleAfterZoomAndByColumn)
{
    ColumnTable table;
    table.Set(0, 0, 0.25f);
    table.Set(3, 0, -0.5f);
    table.Set(3, 1, 0.75f);
    table.Set(7, 0, 0.125f);
    AmplitudeReadout amp(table);
    EXPECT_EQ(amp.toolTipId(), 517);

    amp.ShowAmplitudeAtPoint(Graph::Upper, 4000, 0, true);  // sample 0 reads row 0
    EXPECT_EQ(amp.caption(), "0.25");
    EXPECT_EQ(amp.toolTip(), "Amplitude");

    amp.SetColumnTableBase(5000);  // zoomed: frame 5003 is row 3
    amp.SetStereo(true);
    amp.ShowAmplitudeAtPoint(Graph::Lower, 0, 5003, true);
    EXPECT_EQ(amp.caption(), "0.75");
    EXPECT_EQ(amp.toolTipId(), 416);
    amp.ShowAmplitudeAtPoint(Graph::Upper, 0, 5003, false);  // tool tip left alone
    EXPECT_EQ(amp.caption(), "-0.5");
    EXPECT_EQ(amp.toolTipId(), 416);

    amp.SetPerColumn(true);  // row = Round(x), halves to even; no tool tip per column
    amp.ShowAmplitudeAtPoint(Graph::Upper, 6.5, 5003, true);
    EXPECT_EQ(amp.caption(), "0.0");
    amp.ShowAmplitudeAtPoint(Graph::Upper, 7.4, 5003, true);
    EXPECT_EQ(amp.caption(), "0.125");
    EXPECT_EQ(amp.toolTipId(), 416);
    EXPECT_FALSE(amp.readoutVisible());  // the caption changes while hidden
}

TEST(AmplitudeReadoutTest, RowsBeyondTheTableAreClamped)
{
    ColumnTable table;
    table.Set(0, 0, -0.25f);
    table.Set(ColumnTable::Rows - 1, 0, 0.75f);
    AmplitudeReadout amp(table);
    amp.ShowAmplitudeBoxClicked(true);

    amp.ShowAmplitudeAtPoint(Graph::Upper, 0, 10049, true);
    EXPECT_EQ(amp.caption(), "0.75");
    amp.ShowAmplitudeAtPoint(Graph::Upper, 0, -3, true);
    EXPECT_EQ(amp.caption(), "-0.25");
    // The average counts the frames beyond the table at the last row: (4 x 0.75) / 4.
    amp.ShowSelectionAmplitude(Graph::Upper, Span("10000", "10003"), "3", 0);
    EXPECT_EQ(amp.caption(), "0.75");
    amp.SetPerColumn(true);
    amp.ShowAmplitudeAtPoint(Graph::Upper, 10055, 0, true);
    EXPECT_EQ(amp.caption(), "0.75");
}

TEST(AmplitudeReadoutTest, SelectionAverageIsHiddenOrSummedInSinglePrecision)
{
    ColumnTable table;
    for (int row = 0; row < 20; ++row)
        table.Set(row, 0, 0.1f);
    AmplitudeReadout amp(table);
    amp.ShowSelectionAmplitude(Graph::Upper, Span("0", "9"), "9", 0);
    EXPECT_EQ(amp.toolTipId(), 517);  // hidden: nothing happens
    EXPECT_EQ(amp.caption(), "");

    amp.ShowAmplitudeBoxClicked(true);
    amp.ShowSelectionAmplitude(Graph::Upper, Span("2", "11"), "9", 0);
    EXPECT_EQ(amp.caption(), "0.1");
    EXPECT_EQ(amp.toolTip(), "Average amplitude");
    amp.ShowSelectionAmplitude(Graph::Lower, Span("2", "11"), "9", 0);
    EXPECT_EQ(amp.caption(), "0.0");
    EXPECT_EQ(amp.toolTipId(), 417);

    // Small values added to a large single-precision sum are lost, as the read-out has always
    // shown: 5000 x 1.0 and then 5000 x 0.0002 average 0.5, not 0.5001.
    for (int row = 0; row < 10000; ++row)
        table.Set(row, 0, row < 5000 ? 1.0f : 0.0002f);
    amp.ShowSelectionAmplitude(Graph::Upper, Span("0", "9999"), "9999", 0);
    EXPECT_EQ(amp.caption(), "0.5");
}

TEST(AmplitudeReadoutTest, DoubleClickSwitchesChannelInEveryLanguage)
{
    ColumnTable table;
    AmplitudeReadout amp(table);
    amp.ShowAmplitudeBoxClicked(true);
    amp.SetStereo(true);
    EXPECT_FALSE(amp.DoubleClickGraph());  // 517 "Amplitude of wave..."
    amp.ShowSelectionAmplitude(Graph::Upper, Span("0", "3"), "3", 0);
    EXPECT_EQ(amp.toolTip(), "Left channel average amplitude");
    EXPECT_EQ(amp.DoubleClickGraph(), Graph::Lower);
    amp.ShowSelectionAmplitude(Graph::Lower, Span("0", "3"), "", 0);
    EXPECT_EQ(amp.toolTip(), "Right channel amplitude");
    EXPECT_EQ(amp.DoubleClickGraph(), Graph::Upper);

    // The Chinese tips do not begin with "L" or "R"; the switch still works.
    const text::Language saved = text::CurrentLanguage();
    text::SetLanguage(text::Language::ChineseTraditional);
    amp.ShowSelectionAmplitude(Graph::Lower, Span("0", "3"), "3", 0);
    text::SetLanguage(saved);
    EXPECT_FALSE(amp.toolTip().startsWith(u'R'));
    EXPECT_EQ(amp.DoubleClickGraph(), Graph::Upper);

    amp.SetStereo(false);
    amp.ShowSelectionAmplitude(Graph::Upper, Span("0", "3"), "3", 0);
    EXPECT_EQ(amp.toolTipId(), 413);
    EXPECT_FALSE(amp.DoubleClickGraph());  // mono: nothing to switch to
}

TEST(AmplitudeReadoutTest, CheckBoxAndMenuShowAndHideTogether)
{
    ColumnTable table;
    AmplitudeReadout amp(table);
    amp.ShowAmplitudeBoxClicked(true);
    EXPECT_TRUE(amp.showAmplitudeMenuChecked());
    EXPECT_TRUE(amp.readoutVisible());
    EXPECT_FALSE(amp.ShowAmplitudeMenuClicked());  // returns the frame's new option
    EXPECT_FALSE(amp.showAmplitudeBoxChecked());
    EXPECT_FALSE(amp.readoutVisible());

    amp.SetPerColumn(true);  // the drawing disables the box and hides the label
    EXPECT_FALSE(amp.showAmplitudeBoxEnabled());
    EXPECT_TRUE(amp.ShowAmplitudeMenuClicked());
    EXPECT_TRUE(amp.readoutVisible());
    amp.SetPerColumn(false);
    EXPECT_TRUE(amp.showAmplitudeBoxEnabled());

    AmplitudeReadout opened(table);  // a window opened while the frame's option is checked
    opened.Load(true, true);
    EXPECT_TRUE(opened.showAmplitudeMenuChecked() && opened.showAmplitudeBoxChecked() && opened.readoutVisible());
    EXPECT_TRUE(opened.equaliseChecked());
    EXPECT_FALSE(opened.EqualiseMenuClicked());
    AmplitudeReadout plain(table);
    plain.Load(false, false);
    EXPECT_FALSE(plain.showAmplitudeMenuChecked() || plain.showAmplitudeBoxChecked() || plain.readoutVisible());
}

} // namespace
