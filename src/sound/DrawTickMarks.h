#pragma once
// The scales drawn around the graph container after a sound is loaded: tick marks along its
// top edge (10 to 99 steps of a power of ten of seconds) and, for a 16-bit mono sound while the
// amplitude read-out is off, amplitude ticks on its left edge.

#include <QString>

class SoundDocument;
class Surface;

// Where the graph container Picture1 sits on the window's surface, in twips.
struct TickFrame {
    double left = 0;
    double top = 0;
    double width = 0;          // the container's width
    double innerHeight = 0;    // the height of its inner area
};

// Draws the marks on the window's background surface in its pen colour, reading the sound's
// values from the document, and returns the text of `timescalelabel` ("time in" + step +
// " sec" or " ms"). A sound without samples has no scale: nothing is drawn and the text is empty.
QString DrawTickMarks(Surface& window, const TickFrame& picture1, const SoundDocument& document,
                      bool showAmplitudeBoxChecked);
