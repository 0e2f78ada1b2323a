#pragma once
// The record of the sound shown by one analyser window.
//
// The window shows the values in labels and every later computation reads them back from those
// labels, so the document keeps the label texts themselves and the typed accessors parse them
// with general::Val: what the user sees is exactly what zoom, selection and export compute with.

#include "platform/audio/WaveHeader.h"

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
        QString detail;           // what is wrong, in a line for the user (WaveFaultDetail)
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
    // How the samples are stored (set at load with the bits label, which shows "32 bits float"
    // for float samples: the label alone cannot tell 32-bit integers from floats apart).
    SampleFormat sampleFormat;
    bool rf64 = false;
    std::int64_t selectionStartTicks = 0;
    std::int64_t selectionEndTicks = 0;

    // The window caption set by loading: "Waveform  View - (path)".
    QString caption;

    // The texts the window shows, and the tags it keeps as storage; each with the label it feeds.
    QString fileNameText;        // Label1: "Filename: " + path
    QString sizeText;            // Label2: "Size: " + bytes + " Bytes"
    QString modifiedText;        // Label3: "Last modified: " + date-time
    QString viewStartTicksText;  // Label4: viewStartTicks
    QString totalSamplesText;    // Label6(0): totalSamples
    QString viewSamplesText;     // Label6(1): viewSamples
    QString sampleRateText;      // Label8: sampleRate
    QString channelsText;        // Label9: "Stereo" / "Mono" / "Error", in the interface language
    QString channelModeTag;      // Label9's tag: channelMode, "Stereo" or "Mono"
    QString bitsText;            // Label10: bitsPerSample + " bits"
    QString dataStartText;       // Label11: dataStart
    QString columnTableBaseTag;  // Label11's tag: columnTableBase (first frame drawn), empty = 0
    QString blockAlignText;      // Label12: blockAlign
    QString dataSizeText;        // Label13: dataSize
    QString durationText;        // Label14: "Audio Duration: " + seconds to 5 decimals + "sec"
    QString totalDurationText;   // Label15(0): totalDuration
    QString viewDurationText;    // Label15(1): viewDuration
    QString viewStartSampleText; // Label17: viewStartSample

    // (objectName, caption) of every label above, for the window to copy into its controls.
    std::vector<std::pair<QString, QString>> LabelTexts() const;

    // Typed values, parsed from the label texts with Val.
    QString channelMode() const { return channelModeTag; }
    bool stereo() const { return channelModeTag == QLatin1String("Stereo"); }
    std::int32_t sampleRate() const;
    std::int16_t blockAlign() const;
    std::int16_t bitsPerSample() const;
    std::int64_t dataSize() const;
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
