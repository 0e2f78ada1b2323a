#pragma once
// How the player window and its playback component are sized, in twips: to a newly opened
// clip, back to the clip's native size, and when the user resizes the window. The component
// sits at (50, 1000) inside the window, below the band of buttons and read-outs.
//
// The window rectangle is the window's place in the frame, title bar and borders included; the
// component rectangle is inside the window's client area. Twips per pixel are the screen's
// (15 at 96 dots per inch). controlBar is the height of the component's own control bar in
// twips, kept below the picture so that the picture itself is shown at its native size (0 for
// a component without controls). frame is what the window adds around its client area (title
// bar, menu bar, borders) in twips: the window is never made too small to hold the component,
// whatever the title and menu bars of the desktop and the language measure.
#include <QRect>
#include <QSize>

struct PlayerLayout {
    QRect window;
    QRect component;
};

namespace player_sizing {

inline constexpr int ComponentLeft = 50;
inline constexpr int ComponentTop = 1000;
inline constexpr int MinimumWidth = 4700;

// Sizing to a new clip. A visible component: the window at (50, 50), as wide as the component's
// left + picture + 360 (at least 4700) and as high as the component's top + picture + 600. A
// hidden component gives the minimum width and the height of the button band.
PlayerLayout InitStartLayout(bool componentVisible, QSize picturePixels, double twipsPerPixelX,
                             double twipsPerPixelY, int controlBar = 0, QSize frame = {},
                             int componentLeft = ComponentLeft, int componentTop = ComponentTop);
// Native size: the window at (0, 0), picture + 250 wide and picture + 2450 high.
PlayerLayout RestoreLayout(QSize picturePixels, double twipsPerPixelX, double twipsPerPixelY,
                           int controlBar = 0, QSize frame = {});
// The component after the user resized the window: at (50, 1000), as wide as its left + the
// window's width - 250 and as high as its top + the window's height - 2450 (never below 0).
QRect ResizedComponent(QSize windowTwips, int componentLeft = ComponentLeft,
                       int componentTop = ComponentTop);

} // namespace player_sizing
