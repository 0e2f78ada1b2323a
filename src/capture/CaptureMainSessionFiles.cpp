// The capture main window's file commands without the window: palettes, the capture file, its
// copy, and the frame saved as a picture.
#include "capture/CaptureMainSession.h"

#include "capture/CaptureSettings.h"
#include "capture/EarlierClip.h"
#include "capture/device/PictureStamp.h"
#include "platform/system/TemporaryFiles.h"
#include "text/LoadText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace {
const QString kAviFilter = "AVI Files (*.avi)|*.avi";
const QString kPaletteFilter = "Palette Files (*.pal)|*.pal";

Outcome Unable(const QString& message)
{
    return Outcome::Failure(message, capture::App, {}, MsgIcon::Information);
}
} // namespace

FileDialogArgs CaptureMainSession::PaletteToLoad()
{
    FileDialogArgs args;
    args.dialogTitle = LoadText(587);
    args.filter = kPaletteFilter;
    args.defaultExt = "Pal";
    args.initDir = QCoreApplication::applicationDirPath();
    return args;
}

Outcome CaptureMainSession::LoadPalette(const FileDialogArgs& answer)
{
    if (capPaletteOpen(capwnd_, answer.fileName)) return Outcome::Success();
    return Unable(LoadText(599) + answer.fileTitle);
}

FileDialogArgs CaptureMainSession::PaletteToSave()
{
    FileDialogArgs args;
    args.dialogTitle = LoadText(586);
    args.filter = kPaletteFilter;
    args.defaultExt = "pal";
    return args;
}

Outcome CaptureMainSession::SavePalette(const FileDialogArgs& answer)
{
    return capPaletteSave(capwnd_, answer.fileName) ? Outcome::Success() : Unable(LoadText(487));
}

FileDialogArgs CaptureMainSession::ClipCopy()
{
    FileDialogArgs args;
    args.filter = kAviFilter;
    args.defaultExt = "avi";
    return args;
}

Outcome CaptureMainSession::SaveClipAs(const FileDialogArgs& answer)
{
    return capFileSaveAs(capwnd_, answer.fileName) ? Outcome::Success() : Unable(LoadText(603));
}

FileDialogArgs CaptureMainSession::CaptureFileToSet() const
{
    const QString current = capFileGetCaptureFile(capwnd_);
    FileDialogArgs args;
    args.fileName = current;
    args.initDir = current.left(current.size() - FileTitleOf(current).size());
    args.dialogTitle = LoadText(650);
    args.filter = kAviFilter;
    args.defaultExt = "avi";
    args.fileMustExist = false;
    return args;
}

Outcome CaptureMainSession::SetCaptureFile(const FileDialogArgs& answer, bool& newFile)
{
    newFile = false;
    if (!capFileSetCaptureFile(capwnd_, answer.fileName)) return Unable(LoadText(488) + answer.fileTitle);
    newFile = !QFileInfo::exists(answer.fileName);
    return Outcome::Success();
}

std::optional<QString> CaptureMainSession::ReplaceClipQuestion() const
{
    if (!capwnd_) return std::nullopt;
    const QString file = capFileGetCaptureFile(capwnd_);
    const std::optional<capture::EarlierClip> clip = capture::ClipToReplace(file, capwnd_->singleFramesOpen());
    if (!clip) return std::nullopt;
    return capture::ReplaceClipQuestion(file, *clip);
}

Outcome CaptureMainSession::FrameToSave(bool stamps, QImage& picture) const
{
    // The frame goes through a file of this run's own scratch folder, never one of the user's.
    const QString scratch = QDir(platform::ScratchFolder()).filePath("stemp.bmp");
    if (!capFileSaveDIB(capwnd_, scratch)) return Unable(LoadText(602));
    picture = QImage(scratch);
    QFile::remove(scratch);
    if (stamps) picture = StampPicture(picture, view_.stampTag);
    // A camera picture has no alpha channel: it is saved as the 24-bit bitmap it is (Qt holds
    // it in 32 bits).
    if (!picture.hasAlphaChannel() && picture.depth() == 32) picture = picture.convertToFormat(QImage::Format_RGB888);
    return Outcome::Success();
}
