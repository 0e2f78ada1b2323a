// The program's sound analyser windows: a table of 255 slots and a counter that only grows, so
// a window number is never reused during a run.
#include "sound/OpenSoundWindow.h"

#include "platform/ui/CommonDialog.h"
#include "platform/ui/FrameServices.h"
#include "platform/video/MediaPlayer.h"
#include "sound/WavForm.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QPointer>
#include <array>

namespace {
constexpr int kMaxWindows = 255;
int g_windowCounter = 0;
std::array<QPointer<WavForm>, kMaxWindows + 1> g_windows;
}

void OpenSoundWindow(const QString& path, int channelChoice)
{
    if (g_windowCounter >= kMaxWindows) return;   // the 256th request opens nothing
    ++g_windowCounter;
    auto* window = new WavForm(g_windowCounter);
    g_windows[size_t(g_windowCounter)] = window;
    FrameServices* frame = FrameServices::Instance();
    if (frame) {
        frame->addChild(window)->show();
    } else {
        window->show();
    }
    window->LoadFileData(g_windowCounter, path, channelChoice >= 1 ? channelChoice : 0);
    window->setWindowTitle(path);
    window->mediaPlayer()->setURL("file:\\\\" + path);
}

int SoundWindowCounter() { return g_windowCounter; }

QString AskForSoundFile(CommonDialog& dialog)
{
    dialog.Filter = "Wave Files (*.wav)|*.wav|mp3 Files (*.mp3)|*.mp3|Wave/mp3 files|*.wav;*.mp3";
    dialog.FilterIndex = 1;
    dialog.DialogTitle.clear();   // the dialog may come from a save with its own title
    dialog.CancelError = true;
    return dialog.ShowOpen() ? dialog.FileName : QString();
}
