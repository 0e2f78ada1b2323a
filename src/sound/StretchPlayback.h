#pragma once
// Playing a stretch of the sound: the selection (Space), or the selection over and over (Shift+
// Space). Without a selection the stretch runs from the play cursor to the end of the sound;
// after a plain press (a selection of no frames) from the press to the end. The player reports
// its position; at the stretch's end playback stops there, or starts again from the stretch's
// start when looping, so the play cursor never runs past the end.
#include "sound/SelectionReadout.h"

#include <cstdint>

class StretchPlayback {
public:
    struct Stretch {
        double start = 0;   // seconds of the sound
        double end = 0;     // seconds; the sound's duration for "to the end"
    };
    // What the player must do at a position.
    enum class Step { Go, Stop, Rewind };

    // The stretch Space plays: the selected frames [initialSample, initialSample +
    // selectedSamples) at sampleRate, or from cursorSeconds (no selection) or the press (no
    // frames selected) to duration.
    static Stretch Of(const SelectionReadout& readout, std::int32_t sampleRate, double cursorSeconds,
                      double duration);

    void Start(const Stretch& stretch, bool loop);
    void End() { active_ = false; }
    bool active() const { return active_; }
    bool looping() const { return active_ && loop_; }
    const Stretch& stretch() const { return stretch_; }

    // The player is at position: Go on, Stop (the stretch has ended: the cursor belongs at its
    // end, and playback is over) or Rewind (looping: play again from the start).
    Step At(double position);

private:
    Stretch stretch_;
    bool loop_ = false;
    bool active_ = false;
};
