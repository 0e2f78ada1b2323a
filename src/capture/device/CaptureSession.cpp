#include "capture/device/CaptureSession.h"

#include "capture/CaptureSettings.h"
#include "capture/device/SequenceRun.h"
#include "platform/camera/CameraDevices.h"
#include "platform/system/SteadyClock.h"
#include "platform/system/WaitUntil.h"
#include "text/LoadText.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QVideoFrameFormat>

CaptureSession::CaptureSession(QObject* parent) : QObject(parent)
{
    captureFile_ = DefaultCaptureFile();
}

CaptureSession::~CaptureSession()
{
    if (run_) run_->end();
    delete run_;
    run_ = nullptr;
    singleFrameClose();
    driverDisconnect();
}

QString CaptureSession::DefaultCaptureFile()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    return QDir(folder).filePath("capture.avi");
}

bool CaptureSession::DriverDescription(int index, QString& name, QString& version)
{
    const QList<cameras::Entry> list = cameras::List();
    if (index < 0 || index >= list.size()) return false;
    name = list[index].name;
    version = list[index].version;
    return true;
}

void CaptureSession::reportError(int number, const QString& text)
{
    emit failed(number, Outcome::Failure(text, capture::App, text, MsgIcon::Exclamation));
}

// The camera -------------------------------------------------------------------------------

bool CaptureSession::driverConnect(int index)
{
    if (capturing()) return false;
    std::unique_ptr<CameraDriver> driver = cameras::Open(index);
    if (!driver) return false;
    singleFrameClose();
    driverDisconnect();
    driver_ = std::move(driver);
    driverIndex_ = index;
    anchorUs_ = 0;
    lastFrameUs_ = -1;
    connect(driver_->sink(), &QVideoSink::videoFrameChanged, this, &CaptureSession::frameArrived);
    connect(driver_.get(), &CameraDriver::errorOccurred, this, [this](const QString& message) {
        if (run_) run_->end(caperror::CameraFailed, message);
        else reportError(caperror::CameraFailed, LoadText(212).arg(message));
    });
    if (!driver_->start()) {
        driver_.reset();
        driverIndex_ = -1;
        return false;
    }
    return true;
}

bool CaptureSession::driverDisconnect()
{
    if (!driver_) return false;
    if (run_) run_->end();
    singleFrameClose();
    driver_->stop();
    disconnect(driver_->sink(), nullptr, this, nullptr);
    driver_.reset();
    driverIndex_ = -1;
    preview_ = false;
    return true;
}

bool CaptureSession::driverGetCaps(DriverCaps& caps) const
{
    if (!driver_) return false;
    caps = DriverCaps{};
    caps.deviceIndex = driverIndex_;
    caps.hasDlgVideoSource = true;
    caps.hasDlgVideoFormat = true;
    caps.captureInitialized = true;
    return true;
}

bool CaptureSession::setVideoFormat(const CameraDriver::Format& format)
{
    if (!driver_ || capturing() || singleFrames_ || !driver_->setFormat(format)) return false;
    latestFrame_ = QVideoFrame();
    latestPicture_ = QImage();
    emit formatChanged();
    return true;
}

bool CaptureSession::switchCamera(int index)
{
    if (!driver_ || capturing()) return false;
    if (index == driverIndex_ || singleFrames_) return true;
    if (!driverConnect(index)) return false;
    preview_ = true;
    emit driverChanged(index);
    return true;
}

QSize CaptureSession::imageSize() const
{
    if (latestFrame_.isValid()) return latestFrame_.size();
    return driver_ ? driver_->format().resolution : QSize();
}

bool CaptureSession::getStatus(Status& status) const
{
    if (!driver_) return false;
    status = Status{};
    const QSize size = imageSize();
    status.imageWidth = size.width();
    status.imageHeight = size.height();
    status.liveWindow = preview_;
    status.usingDefaultPalette = palette_.isEmpty();
    status.capFileExists = QFileInfo::exists(captureFile_);
    const CaptureCounts counts = lastCounts_;
    status.currentVideoFrame = counts.frames;
    status.currentVideoFramesDropped = counts.dropped;
    status.currentWaveSamples = audio_.blockAlign ? counts.audioBytes / audio_.blockAlign : 0;
    status.currentTimeElapsedMS = std::int64_t(counts.seconds * 1000);
    status.capturingNow = capturing();
    return true;
}

// Pictures ---------------------------------------------------------------------------------

std::int64_t CaptureSession::frameTime(const QVideoFrame& frame)
{
    const std::int64_t now = steadyclock::NowUs();
    const std::int64_t stamp = frame.startTime();
    if (stamp < 0) return now;
    // The camera's own times, anchored to the steady clock at the first picture; anchored again
    // when they jump (a restarted stream) or run ahead of the clock.
    std::int64_t t = anchorUs_ + stamp;
    if (lastFrameUs_ < 0 || t <= lastFrameUs_ || t > now + 1'000'000 || t < now - 2'000'000) {
        anchorUs_ = now - stamp;
        t = now;
    }
    return t;
}

namespace {
// A camera picture as a 32-bit RGB image, converted once. A picture already in that format is
// used where the camera left it: the image keeps the frame mapped until the image goes.
QImage PictureOf(const QVideoFrame& frame)
{
    const QImage::Format format = QVideoFrameFormat::imageFormatFromPixelFormat(frame.pixelFormat());
    auto* mapped = new QVideoFrame(frame);
    if (format == QImage::Format_Invalid || !mapped->map(QVideoFrame::ReadOnly)) {
        delete mapped;
        QImage picture = frame.toImage();
        return picture.isNull() || picture.format() == QImage::Format_RGB32
                   ? picture
                   : picture.convertToFormat(QImage::Format_RGB32);
    }
    const auto release = [](void* info) {
        auto* f = static_cast<QVideoFrame*>(info);
        f->unmap();
        delete f;
    };
    const QImage view(static_cast<const uchar*>(mapped->bits(0)), mapped->width(), mapped->height(),
                      mapped->bytesPerLine(0), format, release, mapped);
    if (format == QImage::Format_RGB32) return view;
    return view.convertToFormat(QImage::Format_RGB32);
}
} // namespace

QImage CaptureSession::latest()
{
    // A camera's picture is turned into an image only when something uses it.
    if (latestPicture_.isNull() && latestFrame_.isValid()) latestPicture_ = PictureOf(latestFrame_);
    return latestPicture_;
}

void CaptureSession::frameArrived(const QVideoFrame& frame)
{
    if (!frame.isValid()) return;
    const std::int64_t t = frameTime(frame);
    lastFrameUs_ = t;
    latestFrame_ = frame;
    latestPicture_ = QImage();
    ++framesReceived_;

    if (autoFramesLeft_ > 0 && !latest().isNull()) {
        autoHistogram_.add(latest());
        --autoFramesLeft_;
    }
    // While a sequence capture runs, the pictures going into the file are shown, with or
    // without preview (a grabbed frame does not freeze them), at the preview rate: the others
    // would only cost the capture time.
    bool taken = false;
    if (run_) {
        run_->cameraAlive(t);
        taken = run_->wouldTake(t) && run_->frame(forFile(latest()), t);
    }
    const bool due = lastShownUs_ < 0 || t - lastShownUs_ >= previewRateMs_ * 1000 - 2000;
    if (((taken || preview_) && due) && !latest().isNull()) {
        lastShownUs_ = t;
        showPicture(latest());
    }
}

void CaptureSession::showPicture(const QImage& picture)
{
    shown_ = coding_ == VideoCoding::Palettised && paletteMap_ ? paletteMap_->apply(picture) : picture;
    printed_.clear();
    emit pictureShown();
}

QImage CaptureSession::forFile(const QImage& picture) const
{
    if (coding_ == VideoCoding::Palettised && paletteMap_) return paletteMap_->apply(picture);
    return picture;
}

void CaptureSession::printText(const QString& text)
{
    printed_ = text;
    emit printedChanged();
}

bool CaptureSession::setPreview(bool on)
{
    if (!driver_) return false;
    preview_ = on;
    lastShownUs_ = -1;
    if (on && !latest().isNull()) showPicture(latest());
    return true;
}

bool CaptureSession::setPreviewRate(int milliseconds)
{
    if (milliseconds < 0) return false;
    previewRateMs_ = milliseconds;
    return true;
}

bool CaptureSession::waitForNewFrame(int timeoutMs)
{
    if (!driver_) return false;
    const std::int64_t before = framesReceived_;
    WaitOptions wait;
    wait.timeoutMs = timeoutMs;
    wait.guard = this;
    return WaitUntil([this, before] { return framesReceived_ > before; }, wait);
}

bool CaptureSession::grabFrame()
{
    if (!driver_ || capturing()) return false;
    preview_ = false;
    if (!waitForNewFrame() || latest().isNull()) return false;
    // A grabbed picture may stay for long: it keeps no camera buffer.
    showPicture(latest().copy());
    return true;
}

// Settings ---------------------------------------------------------------------------------

bool CaptureSession::setAudioFormat(const WaveFormatEx& format)
{
    if (!format.isRecordablePcm() || capturing()) return false;
    audio_ = format;
    return true;
}

bool CaptureSession::captureSetSetup(const CaptureParameters& parameters)
{
    if (capturing()) return false;
    parameters_ = parameters;
    return true;
}

void CaptureSession::setCompression(VideoCoding coding, int quality)
{
    coding_ = coding == VideoCoding::Palettised && palette_.isEmpty() ? VideoCoding::Uncompressed : coding;
    quality_ = std::clamp(quality, 1, 100);
}

std::int64_t CaptureSession::framePeriodUs() const
{
    if (parameters_.requestMicroSecPerFrame > 0) return parameters_.requestMicroSecPerFrame;
    return std::int64_t(1e6 / std::max(1.0f, driver_ ? driver_->format().maxFps : 15.0f));
}

AviVideoFormat CaptureSession::videoFormat(std::int64_t microsecondsPerFrame) const
{
    AviVideoFormat shape;
    shape.size = imageSize().isEmpty() ? QSize(640, 480) : imageSize();
    shape.microsecondsPerFrame = microsecondsPerFrame;
    shape.coding = coding_;
    shape.quality = quality_;
    shape.palette = palette_;
    if (coding_ == VideoCoding::Palettised && palette_.isEmpty()) shape.coding = VideoCoding::Uncompressed;
    return shape;
}
