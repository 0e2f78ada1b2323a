#include "platform/ChildWindow.h"

#include "platform/Twips.h"

#include <QMdiSubWindow>

void PlaceChildWindow(QWidget* window, QWidget* innerArea, QPoint topLeftTwips, QSize innerPixels)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    if (!sub || sub->isMaximized() || sub->isMinimized()) return;
    sub->move(twips::ToPixels(topLeftTwips.x()), twips::ToPixels(topLeftTwips.y()));
    // Before the sub-window is first shown its frame is not laid out yet: take a usual one.
    const QSize extra = sub->isVisible() ? sub->size() - innerArea->size() : QSize(12, 60);
    sub->resize(innerPixels + extra);
}
