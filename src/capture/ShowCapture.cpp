#include "capture/ShowCapture.h"

#include "capture/frmMain.h"

void ShowCapture() { frmMain::Load(true); }

void CloseCapture()
{
    if (frmMain* capture = frmMain::Instance()) capture->outerWindow()->close();
}
