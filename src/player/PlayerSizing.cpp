#include "player/PlayerSizing.h"

#include <algorithm>
#include <cmath>

namespace player_sizing {
namespace {
int Twips(double value) { return int(std::lround(value)); }
}

PlayerLayout InitStartLayout(bool componentVisible, QSize picture, double tx, double ty,
                             int controlBar, QSize frame, int componentLeft, int componentTop)
{
    const int pictureWidth = Twips(picture.width() * tx);
    const int pictureHeight = Twips(picture.height() * ty);
    int width = 0;
    int height = 0;
    if (componentVisible) {
        // 360 and 600 twips leave room for the window's borders, title and menu bars; where
        // these measure more, the window grows by the difference rather than cut the picture.
        width = componentLeft + pictureWidth + std::max(360, frame.width() + ComponentLeft);
        height = componentTop + pictureHeight + controlBar + std::max(600, frame.height());
    }
    width = std::max(width, MinimumWidth);
    // A window without a visible component still shows its buttons: a window of no height
    // would leave nothing but its title bar.
    height = std::max(height, ComponentTop + 600);
    return {QRect(50, 50, width, height),
            QRect(ComponentLeft, ComponentTop, pictureWidth, pictureHeight + controlBar)};
}

PlayerLayout RestoreLayout(QSize picture, double tx, double ty, int controlBar, QSize frame)
{
    const int pictureWidth = Twips(picture.width() * tx);
    const int pictureHeight = Twips(picture.height() * ty);
    const int width = pictureWidth + std::max(250, frame.width() + ComponentLeft);
    const int height = pictureHeight + controlBar + std::max(2450, ComponentTop + frame.height());
    return {QRect(0, 0, width, height),
            QRect(ComponentLeft, ComponentTop, pictureWidth, pictureHeight + controlBar)};
}

QRect ResizedComponent(QSize window, int componentLeft, int componentTop)
{
    return QRect(ComponentLeft, ComponentTop, std::max(0, componentLeft + window.width() - 250),
                 std::max(0, componentTop + window.height() - 2450));
}

} // namespace player_sizing
