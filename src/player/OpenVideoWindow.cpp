// Until the video player exists, a clip opens as an empty child window titled with its path.
#include "player/OpenVideoWindow.h"

#include "platform/FrameServices.h"

#include <QMdiSubWindow>
#include <QWidget>

namespace {
int g_videoWindowCounter = 0;
constexpr int kMaxWindows = 255;
}

void OpenVideoWindow(const QString& path)
{
    if (++g_videoWindowCounter > kMaxWindows) return;
    FrameServices* frame = FrameServices::Instance();
    if (!frame) return;
    auto* window = new QWidget;
    window->setObjectName("playvideo");
    window->setWindowTitle(path);
    window->resize(640, 480);
    frame->addChild(window)->show();
}
