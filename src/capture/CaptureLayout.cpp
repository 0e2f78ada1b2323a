#include "capture/CaptureLayout.h"

#include "general/General.h"

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
    auto place = [](const QString& stored, int areaSpan, int windowSpan) {
        const double centred = general::Round((areaSpan - windowSpan) / 2.0);
        double v = stored.isEmpty() ? centred : general::Round(general::Val(stored));
        if (v < 0) v = 0;
        if (v > areaSpan - windowSpan) v = areaSpan - windowSpan;
        return int(std::max(0.0, v));
    };
    return {place(storedLeft, area.width(), window.width()),
            place(storedTop, area.height(), window.height())};
}

} // namespace capture
