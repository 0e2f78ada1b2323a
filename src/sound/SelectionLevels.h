#pragma once
// The level of a stretch of sound, as a teacher compares recordings: the RMS and the peak of one
// channel in dB relative to full scale (dBFS). The RMS is given so that a full-scale sine reads
// 0 dBFS (the RMS of the samples x sqrt 2), as sound level meters and audio editors give it; the
// peak is the largest sample magnitude. Read straight from the file, every frame of the stretch.
#include "platform/audio/SampleFormat.h"

#include <QString>
#include <cstdint>
#include <optional>

class WaveFile;

struct SignalLevels {
    std::int64_t frames = 0;   // frames measured
    double rms = 0;            // of the samples, full scale 1
    double peak = 0;           // largest magnitude, full scale 1
    // -infinity for silence.
    double RmsDbfs() const;
    double PeakDbfs() const;
};

// The longest stretch measured (about 6 minutes at 48 kHz): beyond it the read-out stays empty
// rather than hold up the window on every release.
constexpr std::int64_t LevelFrameLimit = 20'000'000;

// Measures channel (0 left or mono, 1 right) of frames frames from the 1-based byte position
// start. Nothing for an empty stretch, one beyond LevelFrameLimit, or a closed file. Frames
// beyond the end of the file are not counted.
std::optional<SignalLevels> MeasureLevels(WaveFile& file, std::int64_t start, std::int64_t frames,
                                          SampleFormat format, int channels, int channel);

// "RMS -3.01 dBFS  Peak 0.00 dBFS" in the interface language, "-inf" for silence.
QString LevelsCaption(const SignalLevels& levels);
