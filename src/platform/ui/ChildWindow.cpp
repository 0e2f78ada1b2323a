#include "platform/ui/ChildWindow.h"

#include "platform/ui/Twips.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

QRect FitChildGeometry(const QRect& wanted, QSize area, QSize minimum)
{
    QSize size = wanted.size();
    if (size.width() > area.width() || size.height() > area.height()) {
        size = size.scaled(area, Qt::KeepAspectRatio);
        size = size.expandedTo(minimum);
    }
    const int x = std::max(0, std::min(wanted.x(), area.width() - size.width()));
    const int y = std::max(0, std::min(wanted.y(), area.height() - size.height()));
    return QRect(QPoint(x, y), size);
}

void FitChildWindow(QMdiSubWindow* sub)
{
    if (!sub || !sub->mdiArea() || sub->isMaximized() || sub->isMinimized()) return;
    const QSize area = sub->mdiArea()->viewport()->size();
    if (area.isEmpty()) return;
    const QRect fitted = FitChildGeometry(sub->geometry(), area, sub->minimumSizeHint());
    if (fitted != sub->geometry()) sub->setGeometry(fitted);
}

void PlaceChildWindow(QWidget* window, QPoint topLeftTwips)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    if (!sub || sub->isMaximized() || sub->isMinimized()) return;
    sub->setGeometry(QRect(QPoint(twips::ToPixels(topLeftTwips.x()), twips::ToPixels(topLeftTwips.y())),
                           sub->sizeHint()));
    FitChildWindow(sub);
}
