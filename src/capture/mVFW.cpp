#include "capture/mVFW.h"

CapWnd capCreateCaptureWindow(const QString& name, std::uint32_t style, int x, int y, int width,
                              int height, QWidget* parent, int)
{
    auto* window = new CaptureWindow(parent);
    window->setAccessibleName(name);
    window->setGeometry(x, y, width, height);
    window->setVisible((style & 0x10000000u) != 0);
    return window;
}

bool capDestroyCaptureWindow(CapWnd hwnd)
{
    if (!hwnd) return false;
    delete hwnd;
    return true;
}

bool capGetDriverDescription(int index, QString& name, QString& version)
{
    return CaptureWindow::DriverDescription(index, name, version);
}

bool capSetCallbackOnError(CapWnd h, CaptureWindow::Callback proc) { return h && h->setCallbackOnError(proc); }
bool capSetCallbackOnStatus(CapWnd h, CaptureWindow::Callback proc) { return h && h->setCallbackOnStatus(proc); }
bool capDriverConnect(CapWnd h, int index) { return h && h->driverConnect(index); }
bool capDriverDisconnect(CapWnd h) { return h && h->driverDisconnect(); }
bool capDriverGetCaps(CapWnd h, CaptureWindow::DriverCaps& caps) { return h && h->driverGetCaps(caps); }
bool capFileSetCaptureFile(CapWnd h, const QString& path) { return h && h->setCaptureFile(path); }
QString capFileGetCaptureFile(CapWnd h) { return h ? h->captureFile() : QString(); }
bool capFileAlloc(CapWnd h, std::int64_t bytes) { return h && h->fileAllocate(bytes); }
bool capFileSaveAs(CapWnd h, const QString& path) { return h && h->fileSaveAs(path); }
bool capFileSaveDIB(CapWnd h, const QString& path) { return h && h->fileSaveDIB(path); }
bool capEditCopy(CapWnd h) { return h && h->editCopy(); }
bool capSetAudioFormat(CapWnd h, const QByteArray& format) { return h && h->setAudioFormat(format); }

int capGetAudioFormat(CapWnd h, QByteArray& format)
{
    if (!h) return 0;
    format = h->audioFormat();
    return int(format.size());
}

int capGetAudioFormatSize(CapWnd h) { return h ? int(h->audioFormat().size()) : 0; }
bool capDlgVideoFormat(CapWnd h) { return h && h->dlgVideoFormat(); }
bool capDlgVideoSource(CapWnd h) { return h && h->dlgVideoSource(); }
bool capDlgVideoDisplay(CapWnd h) { return h && h->dlgVideoDisplay(); }
bool capDlgVideoCompression(CapWnd h) { return h && h->dlgVideoCompression(); }
bool capPreview(CapWnd h, bool on) { return h && h->setPreview(on); }
bool capOverlay(CapWnd h, bool on) { return h && h->setOverlay(on); }
bool capPreviewRate(CapWnd h, int milliseconds) { return h && h->setPreviewRate(milliseconds); }
bool capGetStatus(CapWnd h, CaptureWindow::Status& status) { return h && h->getStatus(status); }
bool capGrabFrame(CapWnd h) { return h && h->grabFrame(); }
bool capCaptureSequence(CapWnd h) { return h && h->captureSequence(); }

bool capCaptureSetSetup(CapWnd h, const CaptureParameters& parameters)
{
    return h && h->captureSetSetup(parameters.toBytes());
}

bool capCaptureGetSetup(CapWnd h, CaptureParameters& parameters)
{
    if (!h) return false;
    const std::optional<CaptureParameters> p = CaptureParameters::FromBytes(h->captureGetSetup());
    if (!p) return false;
    parameters = *p;
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
