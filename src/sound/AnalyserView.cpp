#include "sound/AnalyserView.h"

#include <algorithm>
#include <cmath>

AnalyserView ViewOfAnalyser(const SoundAnalyser& analyser)
{
    AnalyserView v;
    const SoundDocument& d = analyser.document();
    v.values = {d.fileNameText,       d.sizeText,          d.modifiedText,    d.viewStartTicksText,
                d.totalSamplesText,   d.viewSamplesText,   d.sampleRateText,  d.channelsText,
                d.bitsText,           d.dataStartText,     d.blockAlignText,  d.dataSizeText,
                d.durationText,       d.totalDurationText, d.viewDurationText, d.viewStartSampleText};
    v.channelsTag = d.channelModeTag;
    v.dataStartTag = d.columnTableBaseTag;

    const GraphLayout& g = analyser.layout();
    v.upperHeight = g.upperHeight;
    v.lowerVisible = g.lowerVisible;
    v.lowerHeight = g.lowerHeight;
    v.upperCursorHeight = g.monoCursorHeight.value_or(g.upperHeight);
    v.ampTag = g.ampTag;
    v.timeScale = analyser.timeScaleCaption();

    const Selection& s = analyser.selection();
    const SelectionShading shadings[] = {s.upperShading(), s.lowerShading()};
    for (int i = 0; i < 2; ++i) {
        const SelectionShading& shading = shadings[i];
        AnalyserView::Strip& strip = v.strips[std::size_t(i)];
        strip.left = int(std::lround(shading.left));
        strip.width = int(std::lround(shading.width));
        strip.copyLeft = int(std::lround(shading.copyLeft()));
        strip.visible = shading.visible && shading.width > 0;
        strip.copyVisible = shading.copyVisible;
    }
    const SelectionReadout& r = s.readout();
    v.readout = {r.initialTime, r.finalTime, r.intervalTime, r.initialSample, r.finalSample, r.selectedSamples};
    v.draggedCount = s.draggedSampleCount();
    v.resizePointer = s.resizePointer();
    v.period = s.period().periodCaption();
    v.frequency = s.period().frequencyCaption();
    const AmplitudeReadout& a = s.amplitude();
    v.amp = a.caption();
    v.ampToolTip = a.toolTip();
    v.ampVisible = a.readoutVisible();
    v.levels = analyser.levelsCaption();
    v.showAmpChecked = a.showAmplitudeBoxChecked();
    v.showAmpEnabled = a.showAmplitudeBoxEnabled();
    v.showAmpMenuChecked = a.showAmplitudeMenuChecked();
    v.equaliseChecked = a.equaliseChecked();

    const ViewSpan span = analyser.viewSpan();
    const std::int64_t total = d.loaded ? d.totalSamples() : 0;
    v.scrollVisible = total > 0 && span.frames < total;
    v.scrollMaximum = int(std::max<std::int64_t>(0, total - span.frames));
    v.scrollPage = int(std::max<std::int64_t>(1, span.frames));
    v.scrollStep = int(std::max<std::int64_t>(1, span.frames / 10));
    v.scrollValue = int(span.start);
    return v;
}
