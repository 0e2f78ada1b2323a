#pragma once
// What the recorder tests check in a recorded WAV file, with outside tools and KIVRA's own
// transform: the format sox reads, the strongest frequencies of the spectrum; and a MIDI file
// written by the test.
#include <QString>
#include <QtGlobal>
#include <vector>

struct SoxFormat {
    int rate = 0;
    int channels = 0;
    int bits = 0;
    double seconds = 0;
    qint64 frames = 0;
    bool read = false;   // sox read the file
};
SoxFormat ReadWithSox(const QString& path);

struct Peak {
    double frequency = 0;
    double magnitude = 0;
};
// The strongest peaks of the file's spectrum, strongest first, each at least `apart` Hz from the
// stronger ones (so the skirt of one tone is not counted twice).
std::vector<Peak> StrongestPeaks(const QString& path, int count, double apart = 60);

// A standard MIDI file (format 0) playing `notes` notes of the MIDI key `key` on the General MIDI
// program `program`, each `noteMs` long, one after the other.
bool WriteMidiNotes(const QString& path, int key, int notes, int noteMs, int program = 73);

// The test server's sine source hands its first listener of a run the sound of the time before
// it connected (4 s in one block); this takes that first block once per test process, so the
// recordings of the test hold only their own time.
void WarmUpAudioInput();

// The recording commands of one take: open, set the format, record.
QStringList RecordCommands(int rate, int channels, int bits);
