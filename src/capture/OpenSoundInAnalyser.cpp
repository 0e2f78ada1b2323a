#include "capture/OpenSoundInAnalyser.h"

#include "platform/audio/DecodeMp3.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/FrameServices.h"
#include "platform/ui/Prompts.h"

void OpenSoundInAnalyser()
{
    FrameServices* frame = FrameServices::Instance();
    if (!frame) return;
    CommonDialog& dialog = frame->openDialog();
    dialog.Filter = "Wave Files (*.wav)|*.wav|mp3 Files (*.mp3)|*.mp3|Wave/mp3 files|*.wav;*.mp3";
    dialog.FilterIndex = 1;
    dialog.DialogTitle.clear();
    dialog.CancelError = true;
    if (!dialog.ShowOpen() || dialog.FileName.isEmpty()) return;
    QString path = dialog.FileName;
    if (path.right(4).toLower() == ".mp3") {
        BusyPointer busy;
        path = DecodeMp3ToWav(path, AskThroughPrompts());
    }
    frame->noteOpened(dialog.FileName);
    frame->openSoundWindow(path, 0);
}
