#pragma once
// Placing a tool window inside the frame: its sub-window at the window's design position, sized
// so that the window's inner area (the part its controls are laid out on) has its design size,
// whatever the title and menu bars measure. A maximised or minimised sub-window, or a window
// outside the frame, is left as it is.
#include <QPoint>
#include <QSize>

class QWidget;

void PlaceChildWindow(QWidget* window, QWidget* innerArea, QPoint topLeftTwips, QSize innerPixels);
