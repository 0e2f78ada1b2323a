#include "sound/AmplitudeReadout.h"

#include "general/General.h"
#include "sound/ColumnTable.h"
#include "text/LoadText.h"

#include <cmath>

AmplitudeReadout::AmplitudeReadout(const ColumnTable& columnTable) : table_(columnTable)
{
    SetToolTip(InitialToolTip);
}

void AmplitudeReadout::SetPerColumn(bool perColumn)
{
    perColumn_ = perColumn;
    showAmplitudeBoxEnabled_ = !perColumn;
    if (perColumn)
        readoutVisible_ = false;
}

QString AmplitudeReadout::FormatAmplitude(double value)
{
    return general::Format(value, u"##0.0####");
}

std::int64_t AmplitudeReadout::ClampRow(double row)
{
    if (!(row > 0))  // negative, zero or NaN
        return 0;
    if (row >= ColumnTable::Rows - 1)
        return ColumnTable::Rows - 1;
    return std::int64_t(row);
}

float AmplitudeReadout::Value(Graph graph, double row) const
{
    return table_.At(ClampRow(row), graph == Graph::Upper ? 0 : 1);
}

void AmplitudeReadout::SetToolTip(int id)
{
    toolTipId_ = id;
    toolTip_ = LoadText(id);
}

void AmplitudeReadout::ShowAmplitudeAtPoint(Graph graph, double x, double sample, bool setToolTip)
{
    const double row = perColumn_ ? general::Round(x)
                                  : general::Round(sample - double(columnTableBase_));
    caption_ = FormatAmplitude(Value(graph, row));
    if (!perColumn_ && setToolTip)
        SetToolTip(graph == Graph::Lower ? 416 : stereo_ ? 411 : 412);
}

void AmplitudeReadout::ShowSelectionAmplitude(Graph graph, const SelectionReadout& readout,
                                              const QString& draggedSampleCount,
                                              double shadingLeft)
{
    if (!readoutVisible_)
        return;
    const double first = general::Round(general::Val(readout.initialSample));
    if (!draggedSampleCount.isEmpty() && !perColumn_) {
        const double last = general::Round(general::Val(readout.finalSample));
        const double count = last - first + 1;
        // The sum is kept in single precision, as the read-out has always added it.
        float sum = 0.0f;
        for (double i = first; i <= last; ++i)
            sum += Value(graph, i - double(columnTableBase_));
        if (count > 0)  // an empty selection leaves the caption as it was
            caption_ = FormatAmplitude(double(sum) / count);
        SetToolTip(graph == Graph::Lower ? 417 : stereo_ ? 414 : 413);
        return;
    }
    // Per column the table is indexed by graph unit: show the column under the selection's
    // start, the point the user pressed on.
    const double row = perColumn_ ? general::Round(shadingLeft)
                                  : first - double(columnTableBase_);
    caption_ = FormatAmplitude(Value(graph, row));
    SetToolTip(graph == Graph::Lower ? 416 : stereo_ ? 411 : 412);
}

std::optional<AmplitudeReadout::Graph> AmplitudeReadout::DoubleClickGraph() const
{
    // The right channel tips (416, 417) begin with "R" and the left ones (411, 414) with "L" in
    // English; deciding by the entry keeps the switch working in every interface language.
    switch (toolTipId_) {
    case 416:
    case 417:
        return Graph::Upper;
    case 411:
    case 414:
        return Graph::Lower;
    default:
        return std::nullopt;
    }
}

void AmplitudeReadout::ShowAmplitudeBoxClicked(bool ticked)
{
    showAmplitudeBoxChecked_ = ticked;
    showAmplitudeMenuChecked_ = ticked;
    readoutVisible_ = showAmplitudeMenuChecked_;
}

bool AmplitudeReadout::ShowAmplitudeMenuClicked()
{
    showAmplitudeMenuChecked_ = !showAmplitudeMenuChecked_;
    ShowAmplitudeBoxClicked(showAmplitudeMenuChecked_);
    return showAmplitudeMenuChecked_;
}

bool AmplitudeReadout::EqualiseMenuClicked()
{
    equaliseChecked_ = !equaliseChecked_;
    return equaliseChecked_;
}

void AmplitudeReadout::Load(bool frameShowAudioAmp, bool frameEqualiseAmp)
{
    equaliseChecked_ = frameEqualiseAmp;
    if (frameShowAudioAmp)
        ShowAmplitudeMenuClicked();
    showAmplitudeBoxChecked_ = showAmplitudeMenuChecked_;
    readoutVisible_ = showAmplitudeMenuChecked_;
}
