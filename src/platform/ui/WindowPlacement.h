#pragma once
// Keeping a window in view. Every window that restores a stored position (the frame on the
// screen, the tool windows in the frame) passes it through KeepInside, so a position stored on
// a larger screen, in a larger frame or for a smaller window never puts part of it out of reach.
// Plain geometry in any one unit (pixels or twips).
#include <QPoint>
#include <QRect>
#include <QSize>

// The top-left corner for a window of size `window` wanted at `topLeft`, so that all of it lies
// in `visible`: moved as little as needed. A window wider or higher than the area starts at the
// area's left or top edge, so that its title bar and menus stay in reach.
QPoint KeepInside(QPoint topLeft, QSize window, const QRect& visible);
