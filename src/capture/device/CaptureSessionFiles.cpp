// The capture session's files: the capture file, its space set aside and its copy, the picture
// as a bitmap or on the clipboard, and single-frame capture.
#include "capture/device/CaptureSession.h"

#include "capture/device/PictureStamp.h"
#include "platform/system/DiskFull.h"
#include "text/LoadText.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>

namespace {
QString WriteFailureText(const QString& path, const AviWriter& writer)
{
    const QString file = QDir::toNativeSeparators(path);
    if (IsDiskFull(writer.errorNumber())) return LoadText(203).arg(file);
    return LoadText(205).arg(file, writer.errorText());
}
} // namespace

bool CaptureSession::setCaptureFile(const QString& path)
{
    if (path.isEmpty() || capturing() || singleFrames_) return false;
    const QFileInfo info(path);
    if (info.isDir() || !info.absoluteDir().exists()) return false;
    captureFile_ = info.absoluteFilePath();
    return true;
}

bool CaptureSession::fileAllocate(std::int64_t bytes)
{
    if (capturing() || singleFrames_ || captureFile_.isEmpty()) return false;
    QDir().mkpath(QFileInfo(captureFile_).absolutePath());
    return AviWriter::ReserveSpace(captureFile_, bytes);
}

bool CaptureSession::fileSaveAs(const QString& path)
{
    if (capturing() || singleFrames_) return false;
    const std::int64_t length = AviWriter::DataLength(captureFile_);
    if (length <= 0) return false;
    QFile from(captureFile_);
    if (!from.open(QIODevice::ReadOnly)) return false;
    QSaveFile to(path);
    if (!to.open(QIODevice::WriteOnly)) return false;
    std::int64_t left = length;
    while (left > 0) {
        const QByteArray block = from.read(std::min<std::int64_t>(left, 1 << 20));
        if (block.isEmpty() || to.write(block) != block.size()) {
            to.cancelWriting();
            return false;
        }
        left -= block.size();
    }
    return to.commit();
}

bool CaptureSession::fileSaveDIB(const QString& path)
{
    if (shown_.isNull()) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // A camera picture's bitmap is 24-bit (8-bit with the palette of 8-bit capture): the unused
    // fourth byte of the picture in memory is no alpha channel.
    const QImage dib = shown_.format() == QImage::Format_Indexed8 ? shown_ : shown_.convertToFormat(QImage::Format_RGB888);
    QImageWriter writer(&file, "bmp");
    if (!writer.write(dib)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool CaptureSession::editCopy()
{
    if (shown_.isNull()) return false;
    QGuiApplication::clipboard()->setImage(shown_);
    return true;
}

// Single frames ------------------------------------------------------------------------------

bool CaptureSession::singleFrameOpen()
{
    // Open already: the frames go on into the same file.
    if (singleFrames_) return true;
    if (!driver_ || capturing()) return false;
    QDir().mkpath(QFileInfo(captureFile_).absolutePath());
    auto writer = std::make_unique<AviWriter>();
    if (!writer->open(captureFile_, videoFormat(framePeriodUs()))) {
        reportError(IsDiskFull(writer->errorNumber()) ? caperror::DiskFull : caperror::CannotOpen,
                    LoadText(211).arg(QDir::toNativeSeparators(captureFile_), writer->errorText()));
        return false;
    }
    singleFrames_ = std::move(writer);
    singleFrameNumber_ = 0;
    lastCounts_ = CaptureCounts{};
    return true;
}

bool CaptureSession::singleFrame()
{
    if (!singleFrames_ || !waitForNewFrame() || !singleFrames_) return false;
    if (latest().isNull()) return false;
    const QImage picture = StampPicture(latest(), stamp_);
    if (!singleFrames_->writeFrame(forFile(picture), singleFrameNumber_)) {
        if (singleFrames_->failed()) {
            reportError(IsDiskFull(singleFrames_->errorNumber()) ? caperror::DiskFull : caperror::WriteFailed,
                        WriteFailureText(captureFile_, *singleFrames_));
        }
        return false;
    }
    ++singleFrameNumber_;
    // The frame just captured is shown, also while preview is off.
    showPicture(picture);
    lastCounts_.frames = singleFrames_->framesWritten();
    lastCounts_.seconds = double(singleFrameNumber_) * double(parameters_.requestMicroSecPerFrame) / 1e6;
    return true;
}

bool CaptureSession::singleFrameClose()
{
    if (!singleFrames_) return false;
    std::unique_ptr<AviWriter> writer = std::move(singleFrames_);
    return writer->close();
}
