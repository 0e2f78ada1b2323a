#include "platform/ui/WindowPlacement.h"

#include <algorithm>

QPoint KeepInside(QPoint topLeft, QSize window, const QRect& visible)
{
    auto place = [](int at, int span, int areaStart, int areaSpan) {
        return std::max(areaStart, std::min(at, areaStart + areaSpan - span));
    };
    return {place(topLeft.x(), window.width(), visible.x(), visible.width()),
            place(topLeft.y(), window.height(), visible.y(), visible.height())};
}
