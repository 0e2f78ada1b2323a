#pragma once
// The stretch of the sound the graph shows, as the mouse wheel moves it: Ctrl+wheel zooms about
// the pointer (the frame under it stays under it), the wheel or the scroll bar moves a zoomed
// view along the sound. Frames are whole; the view never leaves the sound.
#include <cstdint>

struct ViewSpan {
    std::int64_t start = 0;    // first frame shown (viewStartSample)
    std::int64_t frames = 0;   // frames shown (viewSamples)

    bool operator==(const ViewSpan&) const = default;

    // The fewest frames a view shows: a few cycles of a high tone stay readable.
    static constexpr std::int64_t MinimumFrames = 16;

    // The frame under x of a graph W units wide, as the selection counts it:
    // start + (frames - 1) * x / W, not rounded.
    double FrameAt(double x, double W) const;
    // Zoomed in by factor (above 1 in, below 1 out) about the pointer at x: the frame under
    // the pointer stays there as closely as whole frames allow; held to [MinimumFrames, total]
    // frames and to the sound.
    ViewSpan ZoomedAbout(double x, double W, double factor, std::int64_t total) const;
    // Moved by delta frames (negative: towards the start), held to the sound.
    ViewSpan ScrolledBy(std::int64_t delta, std::int64_t total) const;
};
