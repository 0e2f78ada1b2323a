// Until the analyser window exists, a sound opens as an empty child window titled with its path.
#include "sound/OpenSoundWindow.h"

#include "platform/Frame.h"

#include <QMdiSubWindow>
#include <QWidget>

namespace {
int g_soundWindowCounter = 0;
constexpr int kMaxWindows = 255;
}

void OpenSoundWindow(const QString& path, int)
{
    if (++g_soundWindowCounter > kMaxWindows) return;
    FrameServices* frame = FrameServices::Instance();
    if (!frame) return;
    auto* window = new QWidget;
    window->setObjectName("WavForm");
    window->setWindowTitle(path);
    window->resize(733, 505);
    frame->addChild(window)->show();
}
