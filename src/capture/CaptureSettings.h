#pragma once
// The capture tools' settings (application "KIVRA") and the rules of the capture settings
// dialogs, kept apart from the dialogs so they can be checked without a screen.
#include "capture/device/CaptureParameters.h"

#include <QColor>
#include <QString>
#include <cstdint>

namespace capture {

inline const QString App = QStringLiteral("KIVRA");

// Section "vidcap settings": the sequence capture dialog's boxes, as the dialog shows them.
struct VidcapSettings {
    QString fps = "15";
    bool timeLimit = false;
    QString seconds = "30";
    bool captureAudio = false;

    static VidcapSettings Load();
    // Check boxes are written as 0 or 1.
    void save() const;
};

// The frame rate box when it is left: below 1 becomes "1", above 100 becomes "100"; a value in
// range keeps its text.
QString LimitFps(const QString& text);
// 1000000 / fps to the nearest integer (halves to even); 0 when fps is 0 or less.
std::int32_t MicroSecondsPerFrame(double fps);

// The sequence capture record the dialog's OK sends: fps and seconds as their boxes read (Val),
// maxframes and streammaster as the store holds them at that moment.
CaptureParameters SequenceParameters(const QString& fps, bool timeLimit, const QString& seconds,
                                     bool captureAudio, const QString& maxframes,
                                     const QString& streammaster);

// Section "preferences": what the preferences dialog keeps.
struct CapturePreferences {
    QString backcolor = "&H404040";
    QString maxframes = "27000";
    QString streammaster = "AUDIO";

    static CapturePreferences Load();
    void save() const;
};

// The background colour choices of the preferences dialog, with the values they store: the
// platform's window colour (the system colour 0x80000005, stored as the signed 32-bit number
// -2147483643), light grey 0xC0C0C0, dark grey 0x404040, black 0.
enum class BackgroundChoice { Default = 0, LightGray = 1, DarkGray = 2, Black = 3 };
BackgroundChoice ChoiceOfColour(double storedValue);
std::int64_t ValueOfChoice(BackgroundChoice choice);
// A stored colour value (blue-green-red, read with Val, so "&H404040" works) as a colour; the
// system colour values (high bit set) give the window colour passed in.
QColor ColourOfValue(double storedValue, const QColor& windowColour);

// The index size choices: 27000 frames when the store says 27000, otherwise 324000.
bool IsShortIndex(const QString& maxframes);
// True when stream master text, trimmed and upper-cased, is "AUDIO".
bool SynchToAudio(const QString& streammaster);

// Section "palette", key "numcolors": the colour count box clamped to 16..256 when left.
QString LimitColours(const QString& text);
QString PaletteColours();   // the stored count, "256" by default
void SavePaletteColours(const QString& text);

// Section "driver", key "index".
QString StoredDriverIndex();
void SaveDriverIndex(int index);

} // namespace capture
