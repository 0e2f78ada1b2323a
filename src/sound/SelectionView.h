#pragma once
// The values of the current view that the selection works with, copied by the analyser window
// from its sound document after loading, zoom and restore. Kept in 64-bit integers so that a
// view of many hours is measured without overflow.

#include <cstdint>

struct SelectionView {
    std::int32_t sampleRate = 0;       // sample frames per second
    std::int64_t viewSamples = 0;      // frames in the view
    double viewDuration = 0.0;         // length of the view, seconds
    std::int64_t viewStartSample = 0;  // first frame of the view
    std::int64_t viewStartTicks = 0;   // start of the view in ticks of 10 microseconds
};
