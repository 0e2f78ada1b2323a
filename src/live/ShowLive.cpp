#include "live/ShowLive.h"

#include "live/LiveSoundWindow.h"
#include "platform/ui/FrameServices.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

void ShowLiveSound()
{
    // One window: it holds the input.
    static QPointer<LiveSoundWindow> window;
    if (!window) {
        window = new LiveSoundWindow;
        if (FrameServices* frame = FrameServices::Instance()) frame->addChild(window);
        window->show();
        window->listen();
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        sub->show();
        sub->raise();
        if (sub->mdiArea()) sub->mdiArea()->setActiveSubWindow(sub);
    }
    window->show();
    window->raise();
}
