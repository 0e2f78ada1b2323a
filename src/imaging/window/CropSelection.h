#pragma once
// The crop rectangle the user drags out on the preview: from the point pressed (the anchor) to
// the point the mouse has reached, in twips of the preview, and the crop edges it gives in pixels
// of the target size (the preview's twips divided by the preview scale).
#include "platform/ui/Outcome.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <cstdint>

struct CropValues {
    QRectF rectangle;   // twips, relative to the preview's top-left corner
    std::int16_t left = 0, top = 0, right = 0, bottom = 0, width = 0, height = 0;
    // A failure when an edge cannot be given ("Overflow", "Division by zero"): the window shows
    // it and applies nothing.
    Outcome outcome;
};

class CropSelection {
public:
    // A press at point: the anchor, a rectangle of no size, and the left and top edges
    // (the other values are not given by a press).
    CropValues press(QPointF point, float scaleX, float scaleY);
    // The mouse moved to point with a button down: the point is kept inside the preview
    // (0 .. width - 1, 0 .. height - 1), and the rectangle spans from the anchor to it whichever
    // way it lies. Pixel values round half to even; a value beyond 16 bits fails with "Overflow"
    // and a scale of 0 with "Division by zero" (the first edge that fails, in the order left,
    // right, top, bottom, width, height).
    CropValues move(QPointF point, QSizeF preview, float scaleX, float scaleY);

    QPointF anchor() const { return anchor_; }

private:
    QPointF anchor_;
};
