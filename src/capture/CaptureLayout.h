#pragma once
// The capture main window's layout rules, in pixels unless told: its size around the picture,
// the smallest client area, the picture centred in it, and its place when it opens.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace capture {

// The window's frame around its client area: the side border width, the top and bottom border
// height, the title bar and the menu bar heights.
struct FrameMetrics {
    int xBorder = 0;
    int yBorder = 0;
    int captionHeight = 0;
    int menuHeight = 0;
};

// The window size that shows a picture of this size (sizing to the picture):
// width + 2 × xBorder, height + 4 × yBorder + caption + menu.
QSize WindowSizeForPicture(QSize picture, const FrameMetrics& frame);

// The size a picture is shown at so that the window around it fits an area: the picture's own
// size when it fits, else the largest size of the same shape that does (whole pixels).
QSize FitPicture(QSize picture, QSize area, const FrameMetrics& frame);

// The smallest client area, and the window size a resize springs back to when its client area
// is narrower or lower than it (each side corrected on its own; the size itself otherwise).
inline constexpr QSize MinimumClient{320, 240};
QSize SpringBack(QSize window, QSize client, const FrameMetrics& frame);

// Where the picture (keeping its size) goes in the client area: centred, to the nearest pixel
// (halves to even); negative when the picture is the larger.
QPoint CentredPicture(QSize client, QSize picture);

// The window's position when it opens, in twips: the stored "left" and "top" texts (Val, then
// rounded; an empty text means none is stored), by default centred on the area; negative values
// become 0, and a position that would push the window past the right or bottom edge becomes the
// area's size minus the window's (0 when the window is the larger).
QPoint OpeningPosition(const QString& storedLeft, const QString& storedTop, QSize areaTwips,
                       QSize windowTwips);
// The same where only part of the area can be seen (the area's coordinates): by default centred
// on that part, and kept inside it (platform/WindowPlacement.h).
QPoint OpeningPosition(const QString& storedLeft, const QString& storedTop, const QRect& visibleTwips,
                       QSize windowTwips);

} // namespace capture
