// The program's video player windows: a table of 255 slots and a counter that only grows, so a
// window number is never reused during a run. The default window is not in the table.
#include "player/OpenVideoWindow.h"

#include "platform/ui/FrameServices.h"
#include "platform/ui/Prompts.h"
#include "player/PlayableClip.h"
#include "player/playvideo.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <array>

namespace {
constexpr int kMaxWindows = 255;
int g_windowCounter = 0;
std::array<QPointer<playvideo>, kMaxWindows + 1> g_windows;
}

QString VideoFileFilter()
{
    return QStringLiteral("supported video|*.asf;*.avi;*.mov;*.mpg;*.wmv;*.swf|avi Files (*.avi)|*.avi|"
                          "mov files (*.mov)|*.mov|mpeg files (*.mpg)|*.mpg|others(*.*)|*.*");
}

void OpenVideoWindow(const QString& path)
{
    if (path.isEmpty()) {
        new playvideo(0);   // asks for a clip, opens it through here and closes itself
        return;
    }
    if (g_windowCounter >= kMaxWindows) return;   // the 256th clip opens nothing
    // A file that holds nothing to play is refused with a message, before any window is made.
    if (const Outcome playable = CheckClipPlayable(path); !playable.ok) {
        ReportFailure(playable);
        return;
    }
    ++g_windowCounter;
    auto* window = new playvideo(g_windowCounter);
    g_windows[size_t(g_windowCounter)] = window;
    FrameServices* frame = FrameServices::Instance();
    if (QMdiSubWindow* sub = frame ? frame->addChild(window) : nullptr) {
        sub->show();
        sub->setFocus();
    } else {
        window->show();
    }
    if (frame) window->setPlaybackChoice(frame->playbackChoice());
    window->setWindowTitle(path);
    window->Route(path);
    window->LoadFileData(path, g_windowCounter);
}

int VideoWindowCounter() { return g_windowCounter; }
