#include "capture/CaptureLayout.h"

#include "general/General.h"
#include "platform/ui/WindowPlacement.h"

#include <algorithm>

namespace capture {

QSize WindowSizeForPicture(QSize picture, const FrameMetrics& f)
{
    return {picture.width() + 2 * f.xBorder,
            picture.height() + 4 * f.yBorder + f.captionHeight + f.menuHeight};
}

QSize FitPicture(QSize picture, QSize area, const FrameMetrics& f)
{
    const QSize extra = WindowSizeForPicture({0, 0}, f);
    const QSize room(std::max(1, area.width() - extra.width()), std::max(1, area.height() - extra.height()));
    if (picture.isEmpty() || (picture.width() <= room.width() && picture.height() <= room.height()))
        return picture;
    return picture.scaled(room, Qt::KeepAspectRatio);
}

QSize SpringBack(QSize window, QSize client, const FrameMetrics& f)
{
    QSize out = window;
    if (client.width() < MinimumClient.width()) out.setWidth(MinimumClient.width() + 2 * f.xBorder);
    if (client.height() < MinimumClient.height())
        out.setHeight(MinimumClient.height() + 2 * f.yBorder + f.menuHeight + f.captionHeight);
    return out;
}

QPoint CentredPicture(QSize client, QSize picture)
{
    return {int(general::Round((client.width() - picture.width()) / 2.0)),
            int(general::Round((client.height() - picture.height()) / 2.0))};
}

QPoint OpeningPosition(const QString& storedLeft, const QString& storedTop, QSize area, QSize window)
{
    return OpeningPosition(storedLeft, storedTop, QRect(QPoint(0, 0), area), window);
}

QPoint OpeningPosition(const QString& storedLeft, const QString& storedTop, const QRect& visible, QSize window)
{
    auto wanted = [](const QString& stored, int start, int span, int windowSpan) {
        const double v = stored.isEmpty() ? start + general::Round((span - windowSpan) / 2.0)
                                          : general::Round(general::Val(stored));
        // Far beyond any area: kept to what an int holds before it is brought in.
        return int(std::clamp(v, -1e9, 1e9));
    };
    return KeepInside({wanted(storedLeft, visible.x(), visible.width(), window.width()),
                       wanted(storedTop, visible.y(), visible.height(), window.height())},
                      window, visible);
}

} // namespace capture
