// The capture main window's menu commands.
#include "capture/frmMain.h"

#include "capture/CaptureSettings.h"
#include "capture/frmAlloc.h"
#include "capture/frmCapFrame.h"
#include "capture/frmCapPal.h"
#include "capture/frmCapVid.h"
#include "capture/frmPrefs.h"
#include "capture/frmTICapFrame.h"
#include "imaging/file/SavePictureAs.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/Prompts.h"
#include "text/LoadText.h"

#include <QAction>
#include <QLabel>
#include <QPointer>

void frmMain::loadPalette()
{
    FileDialogArgs args = CaptureMainSession::PaletteToLoad();
    if (OpenFileDialog(args)) Report(main_.LoadPalette(args));
}

void frmMain::savePalette()
{
    FileDialogArgs args = CaptureMainSession::PaletteToSave();
    if (SaveFileDialog(args)) Report(main_.SavePalette(args));
}

bool frmMain::saveFileAs()
{
    FileDialogArgs args = CaptureMainSession::ClipCopy();
    if (!SaveFileDialogPreview(args)) return false;
    const Outcome saved = main_.SaveClipAs(args);
    Report(saved);
    return saved.ok;
}

bool frmMain::MayReplaceClip()
{
    std::optional<QString> question;
    {
        BusyPointer busy;
        question = main_.ReplaceClipQuestion();
    }
    if (!question) return true;
    switch (Prompts::Current().MsgBox(*question, MsgButtons::YesNoCancel, capture::App, MsgIcon::Question)) {
    case Answer::Yes: return saveFileAs();
    case Answer::No: return true;
    default: return false;
    }
}

void frmMain::saveFrame()
{
    QImage picture;
    const Outcome made = main_.FrameToSave(stampsFrames(), picture);
    if (!made.ok) {
        Report(made);
        return;
    }
    Picture1_->setPixmap(QPixmap::fromImage(picture));
    SavePictureAs(picture, LoadText(601));
}

void frmMain::grabFrame()
{
    main_.Grab(stampsFrames());
    showView();
}

void frmMain::captureFrames()
{
    // The manual frame window starts its clip as it opens.
    if (!MayReplaceClip()) return;
    frmCapFrame dialog(capwnd(), this);
    dialog.exec();
}

void frmMain::timeIntervalCapture()
{
    if (stampsFrames()) Picture1_->show();
    frmTICapFrame dialog(*this);
    dialog.exec();
}

void frmMain::captureVideo()
{
    // The capture runs while the dialog waits to be closed; should this window go meanwhile,
    // the dialog goes with it.
    QPointer<frmCapVid> dialog = new frmCapVid(capwnd(), this);
    dialog->exec();
    if (dialog && !dialog->Tag.isEmpty() && MayReplaceClip()) capCaptureSequence(capwnd());
    if (dialog) {
        dialog->unload();
        delete dialog;
    }
}

void frmMain::capturePalette()
{
    frmCapPal dialog(capwnd(), this);
    dialog.exec();
}

void frmMain::preferences()
{
    frmPrefs dialog(*this);
    dialog.exec();
}

void frmMain::allocateFileSpace()
{
    auto* dialog = new frmAlloc(capwnd(), this);
    dialog->show();
}

void frmMain::setCaptureFile()
{
    FileDialogArgs args = main_.CaptureFileToSet();
    if (!OpenFileDialogPreview(args)) return;
    bool newFile = false;
    const Outcome set = main_.SetCaptureFile(args, newFile);
    Report(set);
    // A new capture file always gets its space set aside.
    if (newFile) allocateFileSpace();
}

void frmMain::chooseDriver(int index)
{
    const Outcome connected = main_.ChooseDriver(index);
    // The check marks stay with the driver that is connected.
    showView();
    Report(connected);
}

void frmMain::systemInfo()
{
    Prompts::Current().MsgBox(CaptureMainSession::SystemInfoText(), MsgButtons::OK,
                              capture::App + " System Info Window", MsgIcon::Information);
}
