#pragma once
// The live sound tool without its window: the settings of its views, the sound held, and what
// each view shows, as plain values and texts a window only draws and puts into labels.
//
// The window feeds the input's bytes (signed 16-bit mono) as they come and asks for an update
// at its redraw rate; an update computes only what the visible view needs (the level and the
// rolling spectrogram always, being cheap and needing every moment). Freeze stops taking input:
// the views and the held sound stay as they were, and "Open in analyser" writes that moment.
#include "live/LiveSpectrum.h"
#include "live/OnsetStopwatch.h"
#include "live/ScopeTrigger.h"
#include "live/SoundHistory.h"
#include "live/SoundLevel.h"
#include "live/SpectrogramImage.h"
#include "platform/ui/Outcome.h"
#include "platform/audio/WaveRecordingFile.h"

#include <QPointF>
#include <QString>
#include <vector>

namespace live {

enum class LiveView { Scope, Spectrum, Spectrogram, Level, Stopwatch };

struct LiveSettings {
    std::int32_t sampleRate = 44100;
    // Scope
    TriggerSettings trigger;
    TriggerMode triggerMode = TriggerMode::Auto;
    double msPerDivision = 1;           // 0.1 .. 100
    bool autoRange = true;
    double cursorMs[2] = {2, 4};        // the measuring cursors, from the sweep's start
    // Spectrum
    int fftSize = 16384;                // 1024 .. 65536, a power of two
    WindowShape shape = WindowShape::Hann;
    bool decibels = true;
    bool logFrequency = false;
    bool peakHold = false;
    // Spectrogram
    double spectrogramToHz = 5000;
    double spectrogramFloorDb = -100;
    ColourScale colours = ColourScale::Heat;
    // Stopwatch
    double thresholdDb = -20;
    double deadMs = 50;
};

class LiveSession {
public:
    static constexpr int Divisions = 10;
    static constexpr double MinMsPerDivision = 0.1, MaxMsPerDivision = 100;
    static constexpr int MinFftSize = 1024, MaxFftSize = 65536;
    static constexpr int FundamentalSamples = 4096;
    static constexpr int SpectrogramFftSize = 2048;
    static constexpr int ScopeMaxPoints = 4000;

    struct View {
        // Scope: the trace in (ms from the sweep's start, full scale ±1); min/max pairs per
        // column when the sweep holds more samples than ScopeMaxPoints.
        std::vector<QPointF> trace;
        double sweepMs = 10;
        double range = 1;               // the amplitude at the top of the scope
        bool triggered = false;
        QString triggerText;
        QString cursorText;
        // Spectrum
        LiveSpectrum spectrum;
        std::vector<float> held;        // peak hold, empty when off
        SpectralPeak peak;
        QString peakText;
        QString fundamentalText;
        // Level
        SoundLevel level;
        bool clipping = false;          // a clip in the last ClipShowSeconds
        QString rmsText, peakLevelText, clipText;
        // Stopwatch
        QString stopwatchText, stopwatchState;
        // The window's status line
        QString status;
    };
    static constexpr double ClipShowSeconds = 2;

    LiveSession();

    const LiveSettings& settings() const { return settings_; }
    // Takes new settings, kept within their ranges. A new sample rate empties what is held.
    void setSettings(const LiveSettings& settings);
    // Re-arms a Single sweep.
    void armSingle();
    void resetStopwatch();

    // The input's bytes (signed 16-bit little-endian mono), in any pieces.
    void feed(const char* data, std::int64_t bytes);
    void feedSamples(const std::int16_t* samples, std::int64_t n);
    // Counts bytes the input could not deliver (a full ring).
    void noteDropped(std::uint64_t bytes) { dropped_ = bytes; }
    std::uint64_t droppedBytes() const { return dropped_; }

    void setFrozen(bool frozen);
    bool frozen() const { return frozen_; }
    // The input went away: what is held stays; the message the window shows.
    Outcome inputLost(const QString& detail);
    // The input did not start.
    Outcome inputFailed(const QString& detail);
    void inputStarted();

    // Brings the view of `visible` (and the level, spectrogram and stopwatch) up to date.
    void update(LiveView visible);
    const View& view() const { return view_; }
    const SoundHistory& history() const { return history_; }
    const SpectrogramImage& spectrogram() const { return spectrogram_; }
    void setSpectrogramSize(int columns, int rows);

    // Moves a measuring cursor (0 or 1) to `ms` from the sweep's start.
    void setCursor(int which, double ms);

    // The read-outs and the spectrum as tab-separated text (one "name<TAB>value" line per
    // read-out, then a line of headings and one "frequency<TAB>magnitude" line per line).
    QString copyValues() const;
    // Writes what is held (the frozen moment when frozen) as a mono 16-bit WAV at `path`.
    Outcome writeHeld(const QString& path) const;

private:
    void updateScope();
    void updateCursorText();
    void updateSpectrum();
    void updateLevel();
    void updateStopwatchText();
    void updateStatus();
    double amplitudeAt(double sample) const;

    LiveSettings settings_;
    SoundHistory history_;
    OnsetStopwatch stopwatch_;
    SpectrogramImage spectrogram_;
    View view_;
    bool frozen_ = false;
    bool lost_ = false;
    bool singleDone_ = false;
    double sweepStart_ = 0;        // sample number where the shown sweep starts
    int shrinkVotes_ = 0;
    std::int64_t lastClip_ = -1;   // sample number of the last clip seen
    std::int64_t levelFrom_ = 0;   // first sample the next level reading covers
    std::int64_t spectrogramAt_ = 0;
    std::uint64_t dropped_ = 0;
    bool oddByte_ = false;
    char pending_ = 0;
};

// A number with `decimals` decimals, "." as the point, as the read-outs show it.
QString Fixed(double value, int decimals);

} // namespace live
