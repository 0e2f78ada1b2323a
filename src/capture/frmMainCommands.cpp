// The capture main window's menu commands.
#include "capture/frmMain.h"

#include "capture/CaptureSettings.h"
#include "capture/EarlierClip.h"
#include "capture/frmAlloc.h"
#include "capture/frmCapFrame.h"
#include "capture/frmCapPal.h"
#include "capture/frmCapVid.h"
#include "capture/frmPrefs.h"
#include "capture/frmTICapFrame.h"
#include "imaging/file/SavePictureAs.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/FrameServices.h"
#include "capture/device/PictureStamp.h"
#include "platform/ui/Prompts.h"
#include "platform/system/TemporaryFiles.h"
#include "platform/audio/DecodeMp3.h"
#include "text/LoadText.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>

namespace {
const QString kAviFilter = "AVI Files (*.avi)|*.avi";
const QString kPaletteFilter = "Palette Files (*.pal)|*.pal";
}

void frmMain::loadPalette()
{
    FileDialogArgs args;
    args.dialogTitle = LoadText(587);
    args.filter = kPaletteFilter;
    args.defaultExt = "Pal";
    args.initDir = QCoreApplication::applicationDirPath();
    if (!OpenFileDialog(args)) return;
    if (!capPaletteOpen(capwnd(), args.fileName)) information(LoadText(599) + args.fileTitle);
}

void frmMain::savePalette()
{
    FileDialogArgs args;
    args.dialogTitle = LoadText(586);
    args.filter = kPaletteFilter;
    args.defaultExt = "pal";
    if (!SaveFileDialog(args)) return;
    if (!capPaletteSave(capwnd(), args.fileName)) information(LoadText(487));
}

bool frmMain::saveFileAs()
{
    FileDialogArgs args;
    args.filter = kAviFilter;
    args.defaultExt = "avi";
    if (!SaveFileDialogPreview(args)) return false;
    if (capFileSaveAs(capwnd(), args.fileName)) return true;
    information(LoadText(603));
    return false;
}

bool frmMain::MayReplaceClip()
{
    if (!capwnd()) return true;
    const QString file = capFileGetCaptureFile(capwnd());
    std::optional<capture::EarlierClip> clip;
    {
        BusyPointer busy;
        clip = capture::ClipToReplace(file, capwnd()->singleFramesOpen());
    }
    if (!clip) return true;
    switch (Prompts::Current().MsgBox(capture::ReplaceClipQuestion(file, *clip), MsgButtons::YesNoCancel,
                                      capture::App, MsgIcon::Question)) {
    case Answer::Yes: return saveFileAs();
    case Answer::No: return true;
    default: return false;
    }
}

void frmMain::saveFrame()
{
    // The frame goes through a file of this run's own scratch folder, never one of the user's.
    const QString scratch = QDir(platform::ScratchFolder()).filePath("stemp.bmp");
    if (!capFileSaveDIB(capwnd(), scratch)) {
        information(LoadText(602));
        return;
    }
    QImage picture(scratch);
    if (stampsFrames()) picture = StampPicture(picture, main_.view().stampTag);
    // A camera picture has no alpha channel: it is saved as the 24-bit bitmap it is (Qt holds
    // it in 32 bits).
    if (!picture.hasAlphaChannel() && picture.depth() == 32) picture = picture.convertToFormat(QImage::Format_RGB888);
    Picture1_->setPixmap(QPixmap::fromImage(picture));
    SavePictureAs(picture, LoadText(601));
    QFile::remove(scratch);
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
    const QString current = capFileGetCaptureFile(capwnd());
    FileDialogArgs args;
    args.fileName = current;
    args.initDir = current.left(current.size() - FileTitleOf(current).size());
    args.dialogTitle = LoadText(650);
    args.filter = kAviFilter;
    args.defaultExt = "avi";
    args.fileMustExist = false;
    if (!OpenFileDialogPreview(args)) return;
    if (!capFileSetCaptureFile(capwnd(), args.fileName)) {
        information(LoadText(488) + args.fileTitle);
        return;
    }
    // A new capture file always gets its space set aside.
    if (!QFileInfo::exists(args.fileName)) allocateFileSpace();
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

void frmMain::openSoundAnalyser()
{
    // What the frame's Sound Analyser item does: ask for a sound with the frame's open dialog
    // and open it in a new analyser window.
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
