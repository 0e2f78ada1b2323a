#pragma once
// Selecting a stretch of the analyser's graphs with the mouse and measuring it.
//
// A left press starts a selection at the pointer, a left drag extends it to the right, and a
// right press just outside (or inside) one of its edges followed by a right drag moves that edge.
// The selection is held in ticks of 10 microseconds (64-bit, so views of many hours measure
// correctly) and shown as six texts, which are also what later computations read back.
//
// The window feeds every mouse event of the graphs here, in twips, and afterwards copies the
// state into its controls: the two shading strips and their highlight copies, the read-out
// labels, `Label19` (draggedSampleCount), the pointer shape and the amplitude read-out.

#include "sound/AmplitudeReadout.h"
#include "sound/SelectionPeriod.h"
#include "sound/SelectionReadout.h"
#include "sound/SelectionShading.h"
#include "sound/SelectionView.h"

#include <QString>
#include <Qt>
#include <cstdint>

class ColumnTable;

class Selection {
public:
    // Where an event arrives: the upper graph (`Picture2`), the highlight copy inside the upper
    // graph's shading (`Picture4`, in the graph's own coordinates), or the lower graph
    // (`Picture5`). Events inside the lower graph's shading (`Picture7`) do nothing.
    enum class Graph { Upper, UpperShading, Lower };
    enum class Event { Press, Move, Release };

    explicit Selection(const ColumnTable& columnTable);

    // The window's reset (InitStart): mouse selection enabled from now on, the read-out empty,
    // the shading hidden with width 0, no edge held, the selection start 0.
    void InitStart();
    // The view after load, zoom and restore; whether a sound is loaded; mono or stereo.
    void SetView(const SelectionView& view) { view_ = view; }
    void SetLoaded(bool loaded) { loaded_ = loaded; }
    void SetStereo(bool stereo);
    // The selection's ticks as loading (0 and the file's duration) and restore set them.
    void SetSelectionTicks(std::int64_t startTicks, std::int64_t endTicks);
    // Zoom and restore hide both shading strips and give them width 0.
    void HideShading();

    // A mouse event. buttons: for a press the button pressed (QMouseEvent::button()), for a move
    // the buttons held (QMouseEvent::buttons()); only "left alone" and "right alone" act. x is
    // the pointer's position in twips from the graph's left edge; graphWidth the inner width W
    // of the upper graph in twips.
    void Mouse(Graph graph, Event event, Qt::MouseButtons buttons, double x, double graphWidth);
    // `Command8` (Cancel): the selection becomes the whole view. The window gives the focus to
    // the upper graph.
    void Cancel();
    // Double-click on `amp`: the release handling of the other channel's graph, if any.
    void AmpDoubleClick();
    // `Textcycle` changed: period and frequency from the displayed interval. They follow every
    // later change of the selection too, with the cycles typed last.
    void CycleCountChanged(const QString& cycleText);

    // True when x (graph units) falls inside the upper shading, where the highlight copy
    // receives the events; for a window that routes presses itself.
    bool InsideShading(double x) const;

    // State for the window.
    std::int64_t selectionStartTicks() const { return selectionStartTicks_; }
    std::int64_t selectionEndTicks() const { return selectionEndTicks_; }
    const SelectionReadout& readout() const { return readout_; }
    const QString& draggedSampleCount() const { return draggedSampleCount_; }  // `Label19`
    const SelectionShading& upperShading() const { return upper_; }  // Picture3 / Picture4
    const SelectionShading& lowerShading() const { return lower_; }  // Picture6 / Picture7
    bool resizePointer() const { return resizePointer_; }  // horizontal-resize pointer shown
    bool dragLeftEdge() const { return dragLeftEdge_; }
    bool dragRightEdge() const { return dragRightEdge_; }
    std::int32_t dragOriginLeft() const { return dragOriginLeft_; }
    std::int32_t dragOriginWidth() const { return dragOriginWidth_; }
    std::int16_t lastDragX() const { return lastDragX_; }
    bool windowReady() const { return windowReady_; }
    const SelectionView& view() const { return view_; }
    const SelectionPeriod& period() const { return period_; }
    AmplitudeReadout& amplitude() { return amplitude_; }
    const AmplitudeReadout& amplitude() const { return amplitude_; }

    // The measuring formulas of the current view, for graph width W.
    std::int64_t TicksAt(double x, double graphWidth) const;
    std::int64_t SampleAt(double x, double graphWidth) const;
    std::int64_t ViewEndTicks() const;
    std::int64_t ViewEndSample() const;

    // `Label19` follows the selected-sample count after a gesture that moved with a button held
    // (flag non-zero) and is emptied otherwise.
    void PosChange(int flag);
    // One step of a left-edge move: the left edge goes to x unless the selection would become
    // narrower than 50 units.
    void ShadeArea(float x);

private:
    enum class Buttons { Left, Right, Other };
    static Buttons Classify(Qt::MouseButtons buttons);

    void UpperPress(Buttons buttons, float x, double w);
    void UpperMove(Buttons buttons, float x, double w);
    void UpperRelease();
    void ShadingPress(Buttons buttons, float x, double w);
    void ShadingMove(Buttons buttons, float x, double w);
    void ShadingRelease();
    void LowerPress(Buttons buttons, float x, double w);
    void LowerMove(Buttons buttons, float x, double w);
    void LowerRelease();

    // The steps shared by the presses.
    void StartAt(float x, double w);
    void RightEdgeMove(float x, double w);
    void TakeLeftEdge();
    void TakeRightEdge();
    void SetWidth(float width);
    // Period and frequency for a new interval.
    void FollowInterval();

    QString TimeText(std::int64_t ticks) const;
    QString CountText() const;
    QString IntervalDifferenceText() const;

    AmplitudeReadout amplitude_;
    SelectionPeriod period_;
    SelectionView view_;
    bool loaded_ = false;
    bool stereo_ = false;
    bool windowReady_ = false;

    std::int64_t selectionStartTicks_ = 0;
    std::int64_t selectionEndTicks_ = 0;
    SelectionReadout readout_;
    QString draggedSampleCount_;
    QString cycleText_;        // what `Textcycle` holds
    QString periodInterval_;   // the interval period and frequency were computed for
    SelectionShading upper_;
    SelectionShading lower_;
    bool resizePointer_ = false;
    bool dragLeftEdge_ = false;
    bool dragRightEdge_ = false;
    std::int32_t dragOriginLeft_ = 0;
    std::int32_t dragOriginWidth_ = 0;
    std::int16_t lastDragX_ = 0;
};
