#pragma once
// The amplitude read-out of the analyser (the label `amp`): the normalised amplitude of the wave
// at the selection's start after a press, or its average over the selection after a drag, read
// from the column table that the waveform drawing fills. Also the switches that show and hide it
// (`showampCheck`, `mnushowamp`) and the window's "Equalise Amplitude" switch (`mnuequaliseamp`),
// as plain state that the window copies into its controls after every call.
//
// Table rows outside 0..10000 do not exist; a row index beyond the table is clamped to its first
// or last row.

#include "sound/SelectionReadout.h"

#include <QString>
#include <cstdint>
#include <optional>

class ColumnTable;

class AmplitudeReadout {
public:
    enum class Graph { Upper, Lower };  // upper: left or mono channel (column 0); lower: right (1)

    static constexpr int InitialToolTip = 517;  // "Amplitude of wave at the [initial time]"

    explicit AmplitudeReadout(const ColumnTable& columnTable);

    // What the drawing decided. Per column (the `amp` tag "1"): one table row per graph unit;
    // the drawing then disables `showampCheck` and hides `amp`. Per sample (tag "0"): one row per
    // frame of the drawn stretch, and `showampCheck` is enabled.
    void SetPerColumn(bool perColumn);
    // The first frame of the drawn stretch (set by zoom, 0 after load and restore).
    void SetColumnTableBase(std::int64_t frame) { columnTableBase_ = frame; }
    void SetStereo(bool stereo) { stereo_ = stereo; }

    // The value at a press or right-edge move: row Round(x) per column, Round(sample - base) per
    // sample. Updates the caption even while hidden; the tool tip changes only per sample and only
    // when setToolTip is true (presses directly on a graph).
    void ShowAmplitudeAtPoint(Graph graph, double x, double sample, bool setToolTip);
    // The read-out after a release. Nothing happens while `amp` is hidden. After a drag
    // (draggedSampleCount not empty) in per-sample mode: the single-precision average over the
    // selected frames. Otherwise the value at the selection's start: the row of initialSample per
    // sample, the column under the shading's left edge (shadingLeft, rounded) per column.
    void ShowSelectionAmplitude(Graph graph, const SelectionReadout& readout,
                                const QString& draggedSampleCount, double shadingLeft);

    // Double-click on `amp`: a right channel read-out asks for the release handling of the upper
    // graph, a left channel read-out for that of the lower graph, so a stereo read-out switches
    // channel at every double-click; mono read-outs ask for nothing.
    std::optional<Graph> DoubleClickGraph() const;

    // `showampCheck` clicked (or set from code): the menu check and the label follow the box.
    void ShowAmplitudeBoxClicked(bool ticked);
    // `mnushowamp` clicked: its check is inverted and the box follows. Returns the new check,
    // which the window copies into the frame's `mnushowaudioamp` for windows opened later.
    bool ShowAmplitudeMenuClicked();
    // `mnuequaliseamp` clicked: its check is inverted. Returns the new check, which the window
    // copies into the frame's `mnuequaliseamp`; the drawing reads it at its next run.
    bool EqualiseMenuClicked();
    // Window load: the frame's show-amplitude option clicks `mnushowamp` once; then the box and
    // the label follow the menu check. The equalise check is copied from the frame's option.
    void Load(bool frameShowAudioAmp, bool frameEqualiseAmp);

    // State for the window.
    const QString& caption() const { return caption_; }   // `amp` caption
    const QString& toolTip() const { return toolTip_; }   // `amp` tool tip
    int toolTipId() const { return toolTipId_; }          // text-table entry of the tool tip
    bool readoutVisible() const { return readoutVisible_; }                    // `amp` shown
    bool showAmplitudeBoxChecked() const { return showAmplitudeBoxChecked_; }  // `showampCheck`
    bool showAmplitudeBoxEnabled() const { return showAmplitudeBoxEnabled_; }
    bool showAmplitudeMenuChecked() const { return showAmplitudeMenuChecked_; }  // `mnushowamp`
    bool equaliseChecked() const { return equaliseChecked_; }  // `mnuequaliseamp`
    bool perColumn() const { return perColumn_; }
    std::int64_t columnTableBase() const { return columnTableBase_; }

    // The read-out format: at least one digit before and after the point, at most five after.
    static QString FormatAmplitude(double value);
    // The table row for a row index, clamped to the table.
    static std::int64_t ClampRow(double row);

private:
    float Value(Graph graph, double row) const;
    void SetToolTip(int id);

    const ColumnTable& table_;
    bool perColumn_ = false;
    std::int64_t columnTableBase_ = 0;
    bool stereo_ = false;

    QString caption_;
    QString toolTip_;
    int toolTipId_ = 0;
    bool readoutVisible_ = false;
    bool showAmplitudeBoxChecked_ = false;
    bool showAmplitudeBoxEnabled_ = true;
    bool showAmplitudeMenuChecked_ = false;
    bool equaliseChecked_ = false;
};
