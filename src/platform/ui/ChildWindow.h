#pragma once
// Placing a tool window inside the frame. A tool window opens at its design size when that fits
// the frame's area, otherwise scaled down to fit (its layout scales with it), and always lies
// inside the visible area. A maximised or minimised sub-window, or a window outside the frame,
// is left as it is.
#include <QPoint>
#include <QRect>
#include <QSize>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

// Where a child window wanting the rectangle `wanted` goes in an area of size `area`: its own
// size when that fits, else scaled down keeping its proportions but no smaller than `minimum`;
// then moved as little as needed to lie inside the area (its top left stays visible; the
// clamp is KeepInside of platform/WindowPlacement.h).
QRect FitChildGeometry(const QRect& wanted, QSize area, QSize minimum);
// The same within the part `visible` of an area (its own coordinates).
QRect FitChildGeometry(const QRect& wanted, const QRect& visible, QSize minimum);

// The part of the frame's area where a child window can be seen, in the area's coordinates:
// all of it, less what lies off the screen.
QRect VisibleChildArea(const QMdiArea* area);

// Fits a sub-window into its frame area as above.
void FitChildWindow(QMdiSubWindow* sub);

// Puts a tool window's sub-window at its design position (twips) at its design size (the size
// its layout asks for) and fits it into the frame.
void PlaceChildWindow(QWidget* window, QPoint topLeftTwips);
