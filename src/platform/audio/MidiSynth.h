#pragma once
// Plays MIDI files as sound: FluidSynth with the General MIDI SoundFont of the system (TimGM6mb).
// The synthesiser makes no sound by itself; the caller asks for the next frames and gets them
// added into its own sound, so the file's time runs with the sound rendered, sample by sample.
// The only file of KIVRA that uses FluidSynth.
#include "platform/audio/PcmFormat.h"

#include <QString>
#include <cstdint>
#include <vector>

class MidiSynth {
public:
    MidiSynth();
    ~MidiSynth();
    MidiSynth(const MidiSynth&) = delete;
    MidiSynth& operator=(const MidiSynth&) = delete;

    // Takes a MIDI file to play. False, with the reason in `error`, when the file is not a
    // standard MIDI file, is cut short (a chunk runs past its end), or no General MIDI SoundFont
    // is installed.
    bool open(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const { return !path_.isEmpty(); }

    // Starts the file from its beginning (or resumes it) at the given sample rate. False when
    // the synthesiser cannot be made.
    bool play(std::int32_t sampleRate, QString* error = nullptr);
    void stop();
    bool playing() const { return playing_; }

    // Adds the next `frames` frames of the playing file to `data` (in `format`), clipped to the
    // sample range. Nothing while stopped.
    void mixInto(char* data, std::int64_t frames, const PcmFormat& format);

    // The SoundFont used, or empty when none is installed.
    static QString SoundFontPath();

private:
    bool makeSynth(std::int32_t sampleRate, QString* error);
    void freeSynth();

    QString path_;
    bool playing_ = false;
    std::int32_t rate_ = 0;      // the rate the caller asks for
    int oversample_ = 1;         // the synthesiser runs at rate_ x oversample_ (at least 8000 Hz)
    struct _fluid_hashtable_t* settings_ = nullptr;
    struct _fluid_synth_t* synth_ = nullptr;
    struct _fluid_player_t* player_ = nullptr;
    std::vector<float> left_, right_;
};
