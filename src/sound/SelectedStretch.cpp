#include "sound/SelectedStretch.h"

#include "general/General.h"

SelectedStretch SelectedStretchOf(const SoundDocument& document, const SelectionReadout& readout)
{
    SelectedStretch s;
    s.firstFrame = std::int64_t(general::Val(readout.initialSample));
    s.start = std::int64_t(document.dataStart()) + std::int64_t(document.blockAlign()) * s.firstFrame;
    s.frames = std::int64_t(general::Val(readout.selectedSamples));
    return s;
}
