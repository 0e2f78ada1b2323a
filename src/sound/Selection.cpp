#include "sound/Selection.h"

#include "general/General.h"

#include <cmath>
#include <limits>

using general::Int;
using general::NumText;
using general::Round;
using general::Val;

namespace {

// Tick and sample counts are whole numbers in 64 bits; a value beyond that range (only from a
// broken view) is clamped instead of overflowing.
std::int64_t ToInt64(double value)
{
    constexpr double limit = 9.2e18;
    if (std::isnan(value))
        return 0;
    if (value >= limit)
        return std::int64_t(limit);
    if (value <= -limit)
        return -std::int64_t(limit);
    return std::int64_t(value);
}

std::int32_t ToInt32(double value)
{
    const std::int64_t v = ToInt64(value);
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (v < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(v);
}

// The pointer x as lastDragX keeps it: rounded and truncated to 16 bits.
std::int16_t To16Bits(float x)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(ToInt64(Round(x)) & 0xFFFF));
}

} // namespace

Selection::Selection(const ColumnTable& columnTable) : amplitude_(columnTable)
{
}

void Selection::InitStart()
{
    windowReady_ = true;
    loaded_ = false;
    selectionStartTicks_ = 0;
    readout_ = {};
    FollowInterval();
    draggedSampleCount_.clear();
    HideShading();
    dragLeftEdge_ = dragRightEdge_ = false;
    resizePointer_ = false;
}

void Selection::SetStereo(bool stereo)
{
    stereo_ = stereo;
    amplitude_.SetStereo(stereo);
}

void Selection::SetSelectionTicks(std::int64_t startTicks, std::int64_t endTicks)
{
    selectionStartTicks_ = startTicks;
    selectionEndTicks_ = endTicks;
}

void Selection::HideShading()
{
    for (SelectionShading* s : {&upper_, &lower_}) {
        s->width = 0.0f;
        s->visible = false;
    }
}

// --- formulas -------------------------------------------------------------------------------

std::int64_t Selection::TicksAt(double x, double graphWidth) const
{
    const double span = view_.viewDuration * x;
    return ToInt64(Round(double(view_.viewStartTicks) + span * 100000 / graphWidth));
}

std::int64_t Selection::SampleAt(double x, double graphWidth) const
{
    return view_.viewStartSample + ToInt64(Int(double(view_.viewSamples - 1) * x / graphWidth));
}

std::int64_t Selection::ViewEndTicks() const
{
    return ToInt64(Round(double(view_.viewStartTicks) + view_.viewDuration * 100000));
}

std::int64_t Selection::ViewEndSample() const
{
    return view_.viewStartSample + view_.viewSamples - 1;
}

QString Selection::TimeText(std::int64_t ticks) const
{
    return NumText(double(ticks) / 100000);
}

QString Selection::CountText() const
{
    return NumText(Val(readout_.finalSample) - Val(readout_.initialSample) + 1);
}

QString Selection::IntervalDifferenceText() const
{
    return TimeText(selectionEndTicks_ - selectionStartTicks_);
}

void Selection::PosChange(int flag)
{
    if (flag != 0 && !readout_.selectedSamples.isEmpty())
        draggedSampleCount_ = NumText(Round(Val(readout_.selectedSamples)));
    else
        draggedSampleCount_.clear();
}

bool Selection::InsideShading(double x) const
{
    return upper_.visible && x >= upper_.left && x < double(upper_.left) + upper_.width;
}

// --- events ---------------------------------------------------------------------------------

Selection::Buttons Selection::Classify(Qt::MouseButtons buttons)
{
    if (buttons == Qt::LeftButton)
        return Buttons::Left;
    if (buttons == Qt::RightButton)
        return Buttons::Right;
    return Buttons::Other;
}

void Selection::Mouse(Graph graph, Event event, Qt::MouseButtons buttons, double x,
                      double graphWidth)
{
    if (event != Event::Release && (!(graphWidth > 0) || !std::isfinite(x)))
        return;
    const float xs = float(x);  // graph coordinates are single precision
    const Buttons b = Classify(buttons);
    switch (graph) {
    case Graph::Upper:
        if (event == Event::Press)
            UpperPress(b, xs, graphWidth);
        else if (event == Event::Move)
            UpperMove(b, xs, graphWidth);
        else
            UpperRelease();
        break;
    case Graph::UpperShading:
        if (event == Event::Press)
            ShadingPress(b, xs, graphWidth);
        else if (event == Event::Move)
            ShadingMove(b, xs, graphWidth);
        else
            ShadingRelease();
        break;
    case Graph::Lower:
        if (event == Event::Press)
            LowerPress(b, xs, graphWidth);
        else if (event == Event::Move)
            LowerMove(b, xs, graphWidth);
        else
            LowerRelease();
        break;
    }
    FollowInterval();
}

void Selection::SetWidth(float width)
{
    upper_.width = width;
    lower_.width = width;
}

void Selection::StartAt(float x, double w)
{
    for (SelectionShading* s : {&upper_, &lower_}) {
        s->width = 0.0f;
        s->left = x;
        s->visible = true;
    }
    selectionStartTicks_ = TicksAt(x, w);
    selectionEndTicks_ = ViewEndTicks();
    readout_.initialTime = TimeText(selectionStartTicks_);
    readout_.finalTime = TimeText(selectionEndTicks_);
    readout_.initialSample = NumText(double(SampleAt(x, w)));
    readout_.finalSample = NumText(double(ViewEndSample()));
}

void Selection::TakeLeftEdge()
{
    resizePointer_ = true;
    dragLeftEdge_ = true;
    dragOriginWidth_ = ToInt32(Round(upper_.width));
    dragOriginLeft_ = ToInt32(Round(upper_.left));
}

void Selection::TakeRightEdge()
{
    resizePointer_ = true;
    dragRightEdge_ = true;
}

void Selection::UpperPress(Buttons buttons, float x, double w)
{
    if (!loaded_ || !windowReady_)
        return;
    if (buttons == Buttons::Left) {
        StartAt(x, w);
        readout_.intervalTime = QStringLiteral("0");
        readout_.selectedSamples = QStringLiteral("0");
        amplitude_.ShowAmplitudeAtPoint(AmplitudeReadout::Graph::Upper, x,
                                        Val(readout_.initialSample), true);
        PosChange(0);
    } else if (buttons == Buttons::Right && upper_.width >= 40) {
        const double beforeLeft = double(upper_.left) - x;
        const double afterRight = double(x) - (double(upper_.left) + upper_.width);
        if (beforeLeft > 0 && beforeLeft < 50)
            TakeLeftEdge();
        else if (afterRight > 0 && afterRight < 50)
            TakeRightEdge();
    }
}

void Selection::UpperMove(Buttons buttons, float x, double w)
{
    if (!upper_.visible || !windowReady_)
        return;
    if (buttons == Buttons::Left) {
        if (!(upper_.left < x && x <= w))
            return;  // the selection keeps its last extent
        SetWidth(x - upper_.left);
        selectionEndTicks_ = TicksAt(x, w);
        readout_.finalTime = TimeText(selectionEndTicks_);
        readout_.finalSample = NumText(
            double(view_.viewStartSample) + Round(double(view_.viewSamples - 1) * x / w));
        readout_.selectedSamples = CountText();
        readout_.intervalTime = TimeText(
            ToInt64(Round(Val(readout_.selectedSamples) * 100000 / view_.sampleRate)));
        PosChange(1);
        return;
    }
    if (buttons != Buttons::Right)
        return;
    if (double(x) == double(lastDragX_)) {
        upper_.copyVisible = lower_.copyVisible = true;
        return;
    }
    if (dragLeftEdge_) {
        ShadeArea(x);
        lastDragX_ = To16Bits(x);
        if (x >= 0) {
            selectionStartTicks_ = TicksAt(upper_.left, w);
            readout_.initialTime = TimeText(selectionStartTicks_);
            readout_.intervalTime = IntervalDifferenceText();
            readout_.initialSample = NumText(double(SampleAt(upper_.left, w)));
            readout_.selectedSamples = CountText();
            PosChange(1);
        }
    } else if (dragRightEdge_ && double(x) - upper_.left > 50 && x <= w) {
        RightEdgeMove(x, w);
    }
}

void Selection::RightEdgeMove(float x, double w)
{
    SetWidth(x - upper_.left);
    selectionEndTicks_ = TicksAt(x, w);
    readout_.finalTime = TimeText(selectionEndTicks_);
    readout_.intervalTime = IntervalDifferenceText();
    readout_.finalSample = NumText(double(SampleAt(x, w)));
    readout_.selectedSamples = CountText();
    amplitude_.ShowAmplitudeAtPoint(AmplitudeReadout::Graph::Upper, x, Val(readout_.finalSample),
                                    false);
    PosChange(1);
}

void Selection::ShadeArea(float x)
{
    const std::int64_t right = std::int64_t(dragOriginLeft_) + dragOriginWidth_;
    if (!(double(right) - x >= 50))
        return;  // never narrower than 50 units
    upper_.copyVisible = lower_.copyVisible = false;
    for (SelectionShading* s : {&upper_, &lower_}) {
        s->left = x;
        s->width = float(double(right) - x);
    }
    upper_.copyVisible = lower_.copyVisible = true;
}

void Selection::UpperRelease()
{
    resizePointer_ = false;
    amplitude_.ShowSelectionAmplitude(AmplitudeReadout::Graph::Upper, readout_,
                                      draggedSampleCount_, upper_.left);
    dragLeftEdge_ = dragRightEdge_ = false;
}

void Selection::ShadingPress(Buttons buttons, float x, double w)
{
    if (!windowReady_)
        return;
    if (buttons == Buttons::Right) {
        const double fromLeft = double(x) - upper_.left;
        if (upper_.width >= 100) {
            if (fromLeft < 50)
                TakeLeftEdge();
            else if (double(upper_.left) + upper_.width - x < 100)
                TakeRightEdge();
        } else if (fromLeft < double(upper_.width) / 3) {
            TakeLeftEdge();
        } else {
            TakeRightEdge();
        }
    } else if (buttons == Buttons::Left) {
        // A new selection from x to the end of the view; the tool tip of the read-out stays.
        StartAt(x, w);
        readout_.intervalTime = IntervalDifferenceText();
        readout_.selectedSamples = CountText();
        amplitude_.ShowAmplitudeAtPoint(AmplitudeReadout::Graph::Upper, x,
                                        Val(readout_.initialSample), false);
        PosChange(0);
    }
}

void Selection::ShadingMove(Buttons buttons, float x, double w)
{
    if (!windowReady_)
        return;
    if (buttons == Buttons::Right)
        UpperMove(buttons, x, w);
    else
        upper_.copyVisible = lower_.copyVisible = true;
}

void Selection::ShadingRelease()
{
    resizePointer_ = false;
    dragLeftEdge_ = dragRightEdge_ = false;
}

void Selection::LowerPress(Buttons buttons, float x, double w)
{
    if (!stereo_ || !loaded_ || !windowReady_ || buttons != Buttons::Left)
        return;
    // As on the upper graph, but the interval and the count keep their texts.
    StartAt(x, w);
    amplitude_.ShowAmplitudeAtPoint(AmplitudeReadout::Graph::Lower, x,
                                    Val(readout_.initialSample), true);
    PosChange(0);
}

void Selection::LowerMove(Buttons buttons, float x, double w)
{
    if (!stereo_ || !lower_.visible || !windowReady_ || buttons != Buttons::Left)
        return;
    if (!(lower_.left < x && x <= w))
        return;
    SetWidth(x - lower_.left);
    selectionEndTicks_ = TicksAt(x, w);
    readout_.finalTime = TimeText(selectionEndTicks_);
    readout_.finalSample = NumText(double(SampleAt(x, w)));
    readout_.selectedSamples = CountText();
    readout_.intervalTime = IntervalDifferenceText();
    PosChange(1);
}

void Selection::LowerRelease()
{
    resizePointer_ = false;
    amplitude_.ShowSelectionAmplitude(AmplitudeReadout::Graph::Lower, readout_,
                                      draggedSampleCount_, lower_.left);
}

void Selection::Cancel()
{
    if (!loaded_ || !windowReady_)
        return;
    HideShading();
    selectionStartTicks_ = view_.viewStartTicks;
    selectionEndTicks_ = ToInt64(Round(view_.viewDuration * 100000 + double(selectionStartTicks_)));
    if (readout_.initialTime.isEmpty())
        return;
    readout_.initialTime = TimeText(selectionStartTicks_);
    readout_.finalTime = TimeText(selectionEndTicks_);
    readout_.intervalTime = IntervalDifferenceText();
    readout_.initialSample = NumText(double(view_.viewStartSample));
    readout_.finalSample = NumText(double(ViewEndSample()));
    readout_.selectedSamples = NumText(double(view_.viewSamples));
    PosChange(0);
    FollowInterval();
}

void Selection::AmpDoubleClick()
{
    const auto graph = amplitude_.DoubleClickGraph();
    if (!graph)
        return;
    if (*graph == AmplitudeReadout::Graph::Upper)
        UpperRelease();
    else
        LowerRelease();
}

void Selection::CycleCountChanged(const QString& cycleText)
{
    cycleText_ = cycleText;
    period_.CycleCountChanged(cycleText, readout_.intervalTime);
    periodInterval_ = readout_.intervalTime;
}

void Selection::FollowInterval()
{
    if (readout_.intervalTime == periodInterval_) return;
    periodInterval_ = readout_.intervalTime;
    period_.SelectionChanged(cycleText_, periodInterval_);
}
