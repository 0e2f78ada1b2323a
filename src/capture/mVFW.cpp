#include "capture/mVFW.h"

#include "capture/device/VideoCompressionDialog.h"
#include "capture/device/VideoFormatDialog.h"
#include "capture/device/VideoSourceDialog.h"

#include <QWidget>

namespace {
// The window a camera dialog belongs to: the one holding the session.
QWidget* OwnerOf(CapWnd h)
{
    for (QObject* o = h->parent(); o; o = o->parent())
        if (auto* w = qobject_cast<QWidget*>(o)) return w;
    return nullptr;
}

// A handler lives in a receiver of its own under the session, so that setting another one
// removes it.
template <typename Signal, typename Handler>
bool SetHandler(CapWnd h, const char* name, Signal signal, Handler handler)
{
    if (!h) return false;
    delete h->findChild<QObject*>(name, Qt::FindDirectChildrenOnly);
    if (!handler) return true;
    auto* receiver = new QObject(h);
    receiver->setObjectName(name);
    QObject::connect(h, signal, receiver, std::move(handler));
    return true;
}
} // namespace

bool capGetDriverDescription(int index, QString& name, QString& version)
{
    return CaptureSession::DriverDescription(index, name, version);
}

bool capSetCallbackOnError(CapWnd h, ErrorHandler handler)
{
    return SetHandler(h, "errorHandler", &CaptureSession::failed, std::move(handler));
}

bool capSetCallbackOnStatus(CapWnd h, StatusHandler handler)
{
    return SetHandler(h, "statusHandler", &CaptureSession::status, std::move(handler));
}

bool capDriverConnect(CapWnd h, int index) { return h && h->driverConnect(index); }
bool capDriverDisconnect(CapWnd h) { return h && h->driverDisconnect(); }
bool capDriverGetCaps(CapWnd h, CaptureSession::DriverCaps& caps) { return h && h->driverGetCaps(caps); }
bool capFileSetCaptureFile(CapWnd h, const QString& path) { return h && h->setCaptureFile(path); }
QString capFileGetCaptureFile(CapWnd h) { return h ? h->captureFile() : QString(); }
bool capFileAlloc(CapWnd h, std::int64_t bytes) { return h && h->fileAllocate(bytes); }
bool capFileSaveAs(CapWnd h, const QString& path) { return h && h->fileSaveAs(path); }
bool capFileSaveDIB(CapWnd h, const QString& path) { return h && h->fileSaveDIB(path); }
bool capEditCopy(CapWnd h) { return h && h->editCopy(); }
bool capSetAudioFormat(CapWnd h, const WaveFormatEx& format) { return h && h->setAudioFormat(format); }

bool capGetAudioFormat(CapWnd h, WaveFormatEx& format)
{
    if (!h) return false;
    format = h->audioFormat();
    return true;
}

bool capDlgVideoFormat(CapWnd h)
{
    if (!h || !h->driver() || h->capturing() || h->singleFramesOpen()) return false;
    VideoFormatDialog dialog(h->driver()->formats(), h->driver()->format(), OwnerOf(h));
    if (dialog.exec() != QDialog::Accepted) return false;
    return h->setVideoFormat(dialog.chosen());
}

bool capDlgVideoSource(CapWnd h)
{
    if (!h || !h->driver() || h->capturing()) return false;
    VideoSourceDialog dialog(h->driverIndex(), h->driver(), OwnerOf(h));
    if (dialog.exec() != QDialog::Accepted) return false;
    return h->switchCamera(dialog.chosenCamera());
}

bool capDlgVideoDisplay(CapWnd) { return false; }

bool capDlgVideoCompression(CapWnd h)
{
    if (!h || h->capturing() || h->singleFramesOpen()) return false;
    VideoCompressionDialog dialog(h->coding(), h->quality(), !h->palette().isEmpty(), OwnerOf(h));
    if (dialog.exec() != QDialog::Accepted) return false;
    h->setCompression(dialog.coding(), dialog.quality());
    return true;
}

bool capPreview(CapWnd h, bool on) { return h && h->setPreview(on); }
bool capOverlay(CapWnd, bool) { return false; }
bool capPreviewRate(CapWnd h, int milliseconds) { return h && h->setPreviewRate(milliseconds); }
bool capGetStatus(CapWnd h, CaptureSession::Status& status) { return h && h->getStatus(status); }
bool capGrabFrame(CapWnd h) { return h && h->grabFrame(); }
bool capCaptureSequence(CapWnd h) { return h && h->captureSequence(); }
bool capCaptureSetSetup(CapWnd h, const CaptureParameters& parameters) { return h && h->captureSetSetup(parameters); }

bool capCaptureGetSetup(CapWnd h, CaptureParameters& parameters)
{
    if (!h) return false;
    parameters = h->captureGetSetup();
    return true;
}

bool capCaptureStop(CapWnd h) { return h && h->captureStop(); }
bool capCaptureSingleFrameOpen(CapWnd h) { return h && h->singleFrameOpen(); }
bool capCaptureSingleFrameClose(CapWnd h) { return h && h->singleFrameClose(); }
bool capCaptureSingleFrame(CapWnd h) { return h && h->singleFrame(); }
bool capPaletteOpen(CapWnd h, const QString& path) { return h && h->paletteOpen(path); }
bool capPaletteSave(CapWnd h, const QString& path) { return h && h->paletteSave(path); }
bool capPaletteAuto(CapWnd h, int frames, int colours) { return h && h->paletteAuto(frames, colours); }
bool capPaletteManual(CapWnd h, bool grab, int colours) { return h && h->paletteManual(grab, colours); }
