#pragma once
// Where the selection lies in the sound file, as zoom, the clip saves and paste read it: the
// first selected frame and the selected-frame count are read back from the displayed texts, and
// the first frame's byte is dataStart + blockAlign × initialSample (1-based, 64-bit).
#include "sound/SelectionReadout.h"
#include "sound/SoundDocument.h"

#include <cstdint>

struct SelectedStretch {
    std::int64_t firstFrame = 0;   // initialSample
    std::int64_t start = 0;        // 1-based byte position of the first frame
    std::int64_t frames = 0;       // selectedSamples
};

SelectedStretch SelectedStretchOf(const SoundDocument& document, const SelectionReadout& readout);
