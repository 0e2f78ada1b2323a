#pragma once
// The acoustic stopwatch: started by the first sound above the threshold, stopped by the next
// one, to the sample (a clap and its echo, two microphones a distance apart). A sound counts as
// a new onset only after a dead time below the threshold, so a sound's own ringing, or a long
// sound, is one onset. Samples are counted from the first one fed.
#include <cstdint>

namespace live {

class OnsetStopwatch {
public:
    enum class State { Armed, Running, Stopped };

    // threshold: full scale 0..1 (a sample whose magnitude reaches it is an onset);
    // deadSamples: how long the sound must stay below the threshold before an onset counts.
    void configure(double threshold, std::int64_t deadSamples);
    // Feeds the next n samples (signed 16-bit).
    void feed(const std::int16_t* samples, std::int64_t n);
    // Waits for a new start; keeps the settings.
    void reset();

    State state() const { return state_; }
    // Samples from the start onset to the stop onset (or to the latest sample while running).
    std::int64_t elapsedSamples() const;
    std::int64_t startSample() const { return start_; }
    std::int64_t fed() const { return fed_; }

private:
    double threshold_ = 0.1;
    std::int64_t dead_ = 0;
    State state_ = State::Armed;
    std::int64_t fed_ = 0;
    std::int64_t start_ = 0, stop_ = 0;
    std::int64_t quietFrom_ = 0;   // onsets count again from this sample (the last loud one's + dead)
};

} // namespace live
