#pragma once
// The recording engine: the recorder's state for the whole run and the procedures that drive the
// sound card through media-control command strings (MediaControl::Current()). One untitled
// wave element, alias "capture", holds one recording at a time; a MIDI file can play through the
// sequencer, alias "midi", while recording.
//
// Every command that fails is told at once through Tell (the window shows it in a message box)
// and the procedure goes on with its next command, so one fault can bring several messages. The
// device's error numbers end here: a failed command becomes an Outcome that names the error.
#include "platform/ui/Outcome.h"
#include "recorder/RecordingStatistics.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>

class modWave {
public:
    // The recorder's messages show no icon and the program's name as their title.
    using Tell = std::function<void(const Outcome& message)>;
    static Outcome Failed(const QString& message, const QString& detail);
    static Outcome Told(const QString& message);

    // The engine of the run (the recorder window's).
    static modWave& Module();

    // --- Module state, shared by the recorder window and its statistics ---
    std::int32_t SampleRate = 11025;
    std::int16_t Channels = 1;          // 1 mono, 2 stereo
    std::int16_t BitsPerSample = 16;    // 8 or 16
    QString StatusText;                 // "KIVRA Recorder: " + the device mode in words, at most 255 characters
    QString Mode;                       // the device's own mode word ("stopped", "recording", ...)
    QString StatisticsText;
    bool ManualMode = true;             // false: programmed recording
    QDateTime StartTime, StopTime;
    bool RecordingFinished = false;     // stopped: the schedule does nothing until the next reset
    bool Recording = false;
    bool AutoSave = true;               // a programmed recording is saved when it stops
    QString WaveFileName;               // name for automatic saving
    QString MidiFileName;               // blank-free path of the MIDI file to play; empty: none
    QString LongSaveName;               // the name with a blank the user gave for the last save
    QString ShortSaveName;              // the blank-free alias the recording was written under
    bool RenamePending = false;         // the recording still lies under ShortSaveName

    // The replies of the last QueryStatistics.
    RecordingFacts Facts;

    // The wave element is open: CloseCapture on a closed element sends nothing.
    bool CaptureOpen = false;
    // Failed commands so far (a periodic refresh stops repeating itself after one).
    int Failures = 0;

    // Where failure messages go, in order.
    Tell tell;
    // Where the MIDI announcement goes: it is answered before the recording starts (tell when
    // unset).
    Tell announce;

    // --- Procedures ---
    // Closes every element of the program and opens a new, empty wave element.
    void OpenCapture();
    // Rewinds the wave element and gives it SampleRate, Channels and BitsPerSample.
    void SetFormat();
    // Starts the MIDI file (if any), then records.
    void StartRecording();
    // Stops recording, then the MIDI file (if any).
    void StopRecording();
    // Plays the recording from its beginning and returns at once.
    void PlayRecording();
    // Writes the recording to `name`. A name with a blank is written under its alias and moved
    // to its own name at once; when the move fails the user is told where the recording lies
    // and the move is tried again by MovePendingSave. True when the recording was written.
    bool SaveRecording(const QString& name);
    // Mode and StatusText from the device mode.
    void QueryMode();
    // StatisticsText (and Facts) from the device's length and format. When the time format
    // cannot be set to milliseconds, nothing more is asked and StatisticsText stays.
    void QueryStatistics();
    // Closes the wave element; one already closed is left as it is.
    void CloseCapture();

    // Moves a recording left under its alias to its long name. True when nothing is pending
    // any more; `tellFailure` tells the user where the recording lies when the move fails.
    bool MovePendingSave(bool tellFailure = false);

    // --- File names ---
    // True when a file matches the path.
    static bool FileExists(const QString& path);
    // A blank-free name the device can write to that names the same file: the path itself when
    // it has no blank; for an existing file, a link to it in the run's scratch folder; for a new
    // one, a fresh name there.
    static QString GetShortName(const QString& path);
    // The file a name from GetShortName stands for: the user's own file for an alias in the
    // scratch folder (the announcement names the file the user chose), else the name itself.
    static QString NamedBy(const QString& alias);
    // True when the text contains a space.
    static bool HasSpace(const QString& text);

private:
    // Sends a command; on failure tells `failure` and returns false.
    bool send(const QString& command, const QString& failure);
    bool send(const QString& command, const QString& failure, QString& reply);
    void told(const Outcome& message);
};
