// The image processor's entry: its one window shown, brought to the front and given room.
#include "imaging/window/ShowImageProcessor.h"

#include "imaging/window/frm_image.h"
#include "platform/ui/ChildWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include <algorithm>

namespace {
// The image processor is the largest tool window: in a frame smaller than it (the frame's own
// design size is 640 x 480 pixels) it is scaled down to its minimum, and its texts with it, far
// below the size the other tools keep. The frame grows to hold it at its design size, as far as
// the screen has room, each time the window opens; a maximised or full-screen frame is left as
// it is.
void GrowFrameToHold(QMdiSubWindow* sub)
{
    QMdiArea* area = sub->mdiArea();
    QWidget* top = area ? area->window() : nullptr;
    if (!top || sub->isMaximized() || sub->isMinimized() ||
        top->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QSize wanted = sub->sizeHint();
    const QSize lack = (wanted - area->viewport()->size()).expandedTo(QSize(0, 0));
    if (lack.width() == 0 && lack.height() == 0) return;
    if (const QScreen* screen = top->screen()) {
        const QRect room = screen->availableGeometry();
        const QSize decoration = top->frameGeometry().size() - top->size();
        const QSize grown = (top->size() + lack).boundedTo(room.size() - decoration);
        top->resize(grown.expandedTo(top->size()));
        // Kept on the screen: moved back as little as needed.
        const QRect outer = top->frameGeometry();
        const int x = std::max(room.left(), std::min(outer.left(), room.right() + 1 - outer.width()));
        const int y = std::max(room.top(), std::min(outer.top(), room.bottom() + 1 - outer.height()));
        if (QPoint(x, y) != outer.topLeft()) top->move(x, y);
    }
    sub->resize(wanted);
    FitChildWindow(sub);
}
}

void ShowImageProcessor(const QString& file)
{
    // The frame gives the window its design size when it has room, and keeps it inside.
    const bool opening = !frm_image::Made();
    frm_image* window = frm_image::Instance();
    window->show();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        if (opening || sub->isHidden()) GrowFrameToHold(sub);
        sub->show();
        sub->raise();
        if (sub->mdiArea()) sub->mdiArea()->setActiveSubWindow(sub);
    } else {
        window->raise();
    }
    if (!file.isEmpty()) window->showFile(file);
}
