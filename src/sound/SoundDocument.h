#pragma once
// The record of the sound shown by one analyser window.
//
// The window shows the values in labels and every later computation reads them back from those
// labels, so the document keeps the label texts themselves (named after the labels, Label6_0 for
// Label6(0)) and the typed accessors parse them with general::Val: what the user sees is exactly
// what zoom, selection and export compute with.

#include "sound/WaveHeader.h"

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

class WaveFile;

class SoundDocument {
public:
    // The outcome of LoadFileData. When it failed, the label named by errorLabel (if any) holds
    // "Error" until the window shows "Error!!" and resets itself with InitStart.
    struct LoadResult {
        WaveFault fault = WaveFault::None;
        int systemError = 0;      // errno when the file could not be opened
        QString errorLabel;       // objectName of the rejected field's label, or empty
        bool ok() const { return fault == WaveFault::None; }
    };

    // Reads the header of fileName into the labels (the loading steps up to the drawing). On
    // success `file` is left open, positioned after the header, for GraphWave; on failure it
    // is closed. The caller clears the window (InitStart) before and draws afterwards.
    LoadResult LoadFileData(WaveFile& file, const QString& fileName, std::int16_t windowNumber);

    // The document part of the window's reset: clears the labels the reset clears, the caption,
    // the selection start and the loaded flag.
    void InitStart();

    // Stored values.
    QString fileName;
    // The WAV file the samples are read from: the file loaded. Saving the sound under another
    // name changes fileName (the window's caption and label follow it) but not this: the
    // window keeps showing, zooming, playing and cutting from the data it drew.
    QString samplesFile;
    std::int16_t windowNumber = 0;
    bool loaded = false;
    std::int64_t selectionStartTicks = 0;
    std::int64_t selectionEndTicks = 0;

    // The window caption set by loading: "Waveform  View - (path)".
    QString caption;

    // The label texts (captions), and the tags used as storage.
    QString Label1;      // "Filename: " + path
    QString Label2;      // "Size: " + bytes + " Bytes"
    QString Label3;      // "Last modified: " + date-time
    QString Label4;      // viewStartTicks
    QString Label6_0;    // totalSamples
    QString Label6_1;    // viewSamples
    QString Label8;      // sampleRate
    QString Label9;      // "Stereo" / "Mono" / "Error", in the interface language
    QString Label9Tag;   // channelMode: "Stereo" or "Mono"
    QString Label10;     // bitsPerSample + " bits"
    QString Label11;     // dataStart
    QString Label11Tag;  // columnTableBase (first frame of the drawn stretch), empty = 0
    QString Label12;     // blockAlign
    QString Label13;     // dataSize
    QString Label14;     // "Audio Duration: " + seconds to 5 decimals + "sec"
    QString Label15_0;   // totalDuration
    QString Label15_1;   // viewDuration
    QString Label17;     // viewStartSample

    // (objectName, caption) of every label above, for the window to copy into its controls.
    std::vector<std::pair<QString, QString>> LabelTexts() const;

    // Typed values, parsed from the label texts with Val.
    QString channelMode() const { return Label9Tag; }
    bool stereo() const { return Label9Tag == QLatin1String("Stereo"); }
    std::int32_t sampleRate() const;
    std::int16_t blockAlign() const;
    std::int16_t bitsPerSample() const;
    std::int32_t dataSize() const;
    std::int32_t dataStart() const;
    std::int32_t totalSamples() const;
    std::int32_t viewSamples() const;
    double totalDuration() const;
    double viewDuration() const;
    std::int32_t viewStartSample() const;
    std::int64_t viewStartTicks() const;
    std::int32_t columnTableBase() const;

    // Changing the view (zoom and restore) writes the labels in the number text.
    void setViewStartTicks(std::int64_t ticks);
    void setViewSamples(std::int32_t samples);
    void setViewDuration(double seconds);
    void setViewStartSample(std::int32_t sample);
    void setColumnTableBase(std::int32_t frame);
};
