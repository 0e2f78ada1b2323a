#include "sound/AnalyserReadoutText.h"

#include "sound/SoundAnalyser.h"
#include "text/LoadText.h"

#include <QStringList>

QString AnalyserReadoutText(const SoundAnalyser& analyser, const QString& cycleText)
{
    const SoundDocument& d = analyser.document();
    if (d.sampleRateText.isEmpty()) return {};
    const Selection& s = analyser.selection();
    const SelectionReadout& r = s.readout();
    QStringList lines;
    lines << d.fileNameText;
    lines << LoadText(526).trimmed() + "\t" + d.sampleRateText;
    lines << LoadText(539).trimmed() + "\t" + d.totalSamplesText;
    lines << d.channelsText + "\t" + d.bitsText;
    lines << d.durationText;
    if (!r.initialSample.isEmpty()) {
        lines << LoadText(528).trimmed();
        lines << "\t" + LoadText(525) + "\t" + LoadText(183) + "\t" + LoadText(184);
        lines << LoadText(186) + "\t" + r.initialTime + "\t" + r.finalTime + "\t" + r.intervalTime;
        lines << LoadText(185) + "\t" + r.initialSample + "\t" + r.finalSample + "\t" + r.selectedSamples;
    }
    const SelectionPeriod& p = s.period();
    if (!p.periodCaption().isEmpty()) {
        lines << LoadText(521).trimmed() + "\t" + cycleText;
        lines << p.periodCaption();
        if (!p.frequencyCaption().isEmpty()) lines << p.frequencyCaption();
    }
    const AmplitudeReadout& a = s.amplitude();
    if (!a.caption().isEmpty()) {
        QString amp = LoadText(425) + " " + a.caption();
        if (!a.toolTip().isEmpty()) amp += "\t(" + a.toolTip() + ")";
        lines << amp;
    }
    if (!analyser.levelsCaption().isEmpty()) lines << analyser.levelsCaption();
    return lines.join('\n') + '\n';
}
