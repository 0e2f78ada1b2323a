#pragma once
// The waveform drawing of the analyser: reads a stretch of sample frames straight from the open
// WAV file, draws it on the graph boxes (and the same drawing, in exchanged colours, on their
// highlight copies) and fills the per-column amplitude table.
//
// Up to as many frames as the box is wide (in twips) are drawn sample by sample; a longer
// stretch is drawn with one sample per unit for x = 1..9999, read with positioned reads, so a
// long file is never read whole for drawing.

#include "platform/audio/SampleFormat.h"
#include "sound/WaveEnvelope.h"

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class ColumnTable;
class Surface;
class WaveFile;
struct GraphTrace;

// What the drawing decided about the window's layout; the window applies it to its controls.
struct GraphLayout {
    int upperHeight = 0;                    // Picture2: 1928 stereo, 3856 mono (twips)
    bool lowerVisible = false;              // Picture5 shows for stereo only
    int lowerHeight = 0;                    // Picture5's height when visible
    std::optional<int> monoCursorHeight;    // mono: the cursor line Line3 reaches 3856
    QString ampTag;                         // tag of `amp`: "0" one row per frame, "1" per unit
    bool showAmplitudeBoxEnabled = true;    // `showampCheck`: enabled per frame, not per unit
    bool hideReadout = false;               // per-unit drawing hides `amp`
    double mean = 0;                        // the sample value the equalised trace centres
};

class GraphWave {
public:
    static constexpr int StereoBoxHeight = 1928;
    static constexpr int MonoBoxHeight = 3856;
    // Units drawn when the stretch has more frames than the box has units.
    static constexpr int LastUnit = 9999;
    static QColor Blue() { return QColor(0, 0, 192); }
    static QColor DarkRed() { return QColor(128, 0, 0); }

    // The four graph boxes: Picture2 (left or mono), its highlight copy Picture4, Picture5
    // (right) and its copy Picture7. Each is drawn in its own fore colour; SetColours sets them.
    GraphWave(Surface& picture2, Surface& picture4, Surface& picture5, Surface& picture7,
              ColumnTable& columnTable);

    // The colours of the boxes: graphs on the window background with blue (upper, or dark red
    // for the right channel of a pasted clip) and dark red (lower) pens; highlight copies with
    // background and pen exchanged.
    void SetColours(const QColor& windowBackground, const QColor& upperPen = Blue());

    // The button-face colour of the two outer reference lines.
    void SetButtonFace(const QColor& color) { buttonFace_ = color; }
    // Difference between a box's height and its inner drawing height (its border), in twips.
    void SetBorderTwips(int twips) { borderTwips_ = twips < 0 ? 0 : twips; }
    // The analyser's "Equalise Amplitude" check at the time of drawing.
    void SetEqualise(bool on) { equalise_ = on; }

    // Draws frameCount frames starting at the 1-based byte position start of the open file.
    // The caller has cleared the boxes; the width of Picture2 is the drawing width W. The
    // boxes are resized to the layout's heights (inner height = box height - border).
    // The wide formats (24/32-bit, float) are drawn on the 16-bit scale, their amplitudes exact.
    GraphLayout Draw(WaveFile& file, std::int64_t start, std::int32_t frameCount,
                     SampleFormat format, const QString& channelMode);
    // The envelope that replaces a drawing of one sample per unit, or nothing for a stretch
    // drawn sample by sample (which is exact already).
    std::optional<EnvelopeJob> EnvelopeOf(const QString& path, std::int64_t start,
                                          std::int32_t frameCount, SampleFormat format,
                                          const QString& channelMode) const;
    // Redraws the boxes with each unit spanning the lowest to the highest sample it covers;
    // mean is the layout's mean of the drawing it replaces. The amplitude table is not touched.
    void DrawEnvelope(const WaveEnvelope& envelope, SampleFormat format, const QString& channelMode,
                      double mean);

private:
    // Sizes the boxes and draws their reference lines (and channel names), for a trace of the
    // sound's layout.
    GraphTrace Prepare(SampleFormat format, const QString& channelMode, GraphLayout& layout);
    void Equalise(GraphTrace& t, double mean) const;
    std::array<Surface*, 2> Boxes(int channel);

    Surface& picture2_;
    Surface& picture4_;
    Surface& picture5_;
    Surface& picture7_;
    ColumnTable& table_;
    QColor buttonFace_;
    int borderTwips_ = 0;
    bool equalise_ = false;
};
