#include "platform/ui/ChildWindow.h"

#include "platform/ui/Twips.h"
#include "platform/ui/WindowPlacement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <algorithm>

QRect FitChildGeometry(const QRect& wanted, const QRect& visible, QSize minimum)
{
    QSize size = wanted.size();
    if (size.width() > visible.width() || size.height() > visible.height()) {
        size = size.scaled(visible.size(), Qt::KeepAspectRatio);
        size = size.expandedTo(minimum);
    }
    return QRect(KeepInside(wanted.topLeft(), size, visible), size);
}

QRect FitChildGeometry(const QRect& wanted, QSize area, QSize minimum)
{
    return FitChildGeometry(wanted, QRect(QPoint(0, 0), area), minimum);
}

QRect VisibleChildArea(const QMdiArea* area)
{
    const QWidget* viewport = area->viewport();
    const QRect all(QPoint(0, 0), viewport->size());
    const QScreen* screen = viewport->screen();
    if (!screen || !viewport->isVisible()) return all;
    // The part of the area on the screen: a frame dragged partly off the screen, or larger than
    // it, still gets its windows where they can be seen.
    const QRect onScreen(viewport->mapToGlobal(QPoint(0, 0)), viewport->size());
    const QRect shown = onScreen.intersected(screen->availableGeometry());
    return shown.isEmpty() ? all : shown.translated(-onScreen.topLeft());
}

void FitChildWindow(QMdiSubWindow* sub)
{
    if (!sub || !sub->mdiArea() || sub->isMaximized() || sub->isMinimized()) return;
    const QRect visible = VisibleChildArea(sub->mdiArea());
    if (visible.isEmpty()) return;
    const QRect fitted = FitChildGeometry(sub->geometry(), visible, sub->minimumSizeHint());
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
