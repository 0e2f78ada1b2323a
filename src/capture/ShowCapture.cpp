#include "capture/ShowCapture.h"

#include "capture/ChooseAudioFormat.h"
#include "capture/frmMain.h"

void ShowCapture() { frmMain::Load(true); }

void CloseCapture()
{
    if (frmMain* capture = frmMain::Instance()) capture->outerWindow()->close();
}

void ChooseAudioFormat(QWidget* owner)
{
    ChooseAudioFormat(owner, [] {
        frmMain* main = frmMain::Load(false);
        return main ? main->capwnd() : nullptr;
    });
}
