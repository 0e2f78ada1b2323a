#pragma once
// The media-control interface on this system's audio: our own interpreter of the commands in
// MediaCommand.h.
//  - waveaudio elements record from the default input (WaveRecorder) into a WAV file in the run's
//    scratch folder, written as the sound arrives; "save" writes the recording as a RIFF/WAVE PCM
//    file through a temporary file, whole or not at all; "play" plays it on the default output.
//    Formats: 6000 to 44100 samples per second, 1 or 2 channels, 8 or 16 bits.
//  - sequencer elements play a MIDI file (MidiSynth) to the default output; while a wave element
//    records, the sequencer's sound is also mixed into the recording, sample-exact.
// Replies: "stopped", "recording" or "playing" for mode; lengths in the element's time format
// (milliseconds, rounded down, or bytes); format values in decimal.
#include "recorder/mci/MediaCommand.h"
#include "recorder/mci/MediaControl.h"
#include "platform/audio/PcmFormat.h"
#include "platform/audio/WaveRecordingFile.h"

#include <QHash>
#include <memory>

class AudioMediaControl : public MediaControl {
    Q_OBJECT
public:
    explicit AudioMediaControl(QObject* parent = nullptr);
    ~AudioMediaControl() override;

    using MediaControl::SendString;
    // The interpreter's boundary: the commands below answer a typed Error, given out as its number.
    int SendString(const QString& command, QString& reply) override;

    // The largest recording, in bytes of sound, before it stops by itself with SizeLimit;
    // -1 (the default) for the largest a WAV header describes.
    void setLargestRecording(std::int64_t bytes) { largest_ = bytes; }
    // Bytes of sound dropped so far by the recording of `alias` (the input outran the file).
    std::uint64_t droppedBytes(const QString& alias) const;
    // The file holding the recording of `alias` (in the scratch folder); empty when none.
    QString recordingFile(const QString& alias) const;

    static constexpr std::int32_t LowestRate = 6000;
    static constexpr std::int32_t HighestRate = 44100;

private:
    struct Wave;
    struct Sequencer;

    Error open(const platform::MediaCommand& c);
    Error close(const QString& alias);
    Error set(Wave& wave, const platform::MediaCommand& c);
    Error record(Wave& wave);
    void newRecorder(Wave& wave, const QString& alias);
    Error play(Wave& wave, const platform::MediaCommand& c);
    Error playMidi(Sequencer& sequencer);
    Error save(Wave& wave, const QString& fileName);
    Error status(const platform::MediaCommand& c, QString& reply);
    void mixSequencers(char* data, std::int64_t bytes, const PcmFormat& format);
    void renderIdleSequencers();
    bool anyRecording() const;
    PcmFormat sequencerFormat() const;

    std::int64_t largest_ = -1;
    QHash<QString, std::shared_ptr<Wave>> waves_;            // by lower-case alias
    QHash<QString, std::shared_ptr<Sequencer>> sequencers_;  // by lower-case alias
};
