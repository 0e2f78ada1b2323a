#include "capture/device/CaptureWindow.h"

#include "platform/camera/CameraDevices.h"
#include "platform/camera/CameraDriver.h"
#include "capture/device/PictureStamp.h"
#include "capture/device/SequenceCapture.h"
#include "platform/system/SteadyClock.h"
#include "capture/device/VideoCompressionDialog.h"
#include "capture/device/VideoFormatDialog.h"
#include "capture/device/VideoSourceDialog.h"
#include "text/LoadText.h"

#include <QAudioSource>
#include <QClipboard>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>
#include <QVideoFrame>
#include <cerrno>

CaptureWindow::CaptureWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName("capwnd");
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(160, 120);
    captureFile_ = DefaultCaptureFile();
}

CaptureWindow::~CaptureWindow()
{
    if (sequence_) endSequence(0, QString());
    singleFrameClose();
    driverDisconnect();
}

QString CaptureWindow::DefaultCaptureFile()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    return QDir(folder).filePath("capture.avi");
}

bool CaptureWindow::DriverDescription(int index, QString& name, QString& version)
{
    const QList<cameras::Entry> list = cameras::List();
    if (index < 0 || index >= list.size()) return false;
    name = list[index].name;
    version = list[index].version;
    return true;
}

bool CaptureWindow::driverConnect(int index)
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
    connect(driver_->sink(), &QVideoSink::videoFrameChanged, this, &CaptureWindow::frameArrived);
    connect(driver_.get(), &CameraDriver::errorOccurred, this, [this](const QString& message) {
        if (capturing()) endSequence(caperror::CameraFailed, message);
        else reportError(caperror::CameraFailed, LoadText(212).arg(message));
    });
    if (!driver_->start()) {
        driver_.reset();
        driverIndex_ = -1;
        return false;
    }
    return true;
}

bool CaptureWindow::driverDisconnect()
{
    if (!driver_) return false;
    if (capturing()) endSequence(0, QString());
    singleFrameClose();
    driver_->stop();
    disconnect(driver_->sink(), nullptr, this, nullptr);
    driver_.reset();
    driverIndex_ = -1;
    preview_ = false;
    return true;
}

bool CaptureWindow::driverGetCaps(DriverCaps& caps) const
{
    if (!driver_) return false;
    caps = DriverCaps{};
    caps.deviceIndex = driverIndex_;
    caps.hasDlgVideoSource = true;
    caps.hasDlgVideoFormat = true;
    caps.captureInitialized = true;
    return true;
}

QSize CaptureWindow::imageSize() const
{
    if (latestFrame_.isValid()) return latestFrame_.size();
    return driver_ ? driver_->format().resolution : QSize();
}

bool CaptureWindow::getStatus(Status& status) const
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
    status.currentWaveSamples =
        audio_.blockAlign ? counts.audioBytes / audio_.blockAlign : 0;
    status.currentTimeElapsedMS = std::int64_t(counts.seconds * 1000);
    status.capturingNow = capturing();
    return true;
}

bool CaptureWindow::setCallbackOnStatus(Callback callback)
{
    statusCallback_ = callback;
    return true;
}

bool CaptureWindow::setCallbackOnError(Callback callback)
{
    errorCallback_ = callback;
    return true;
}

void CaptureWindow::report(Callback callback, int number, const QString& text)
{
    if (!callback) return;
    const QByteArray bytes = text.toUtf8();
    callback(this, number, bytes.constData());
}

void CaptureWindow::reportError(int number, const QString& text)
{
    report(errorCallback_, number, text);
}

// Pictures ---------------------------------------------------------------------------------

std::int64_t CaptureWindow::frameTime(const QVideoFrame& frame)
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

QImage CaptureWindow::latest()
{
    // A camera's picture is turned into an image only when something uses it.
    if (latestPicture_.isNull() && latestFrame_.isValid()) {
        QImage picture = latestFrame_.toImage();
        if (!picture.isNull() && picture.format() != QImage::Format_RGB32)
            picture = picture.convertToFormat(QImage::Format_RGB32);
        latestPicture_ = picture;
    }
    return latestPicture_;
}

void CaptureWindow::frameArrived(const QVideoFrame& frame)
{
    if (!frame.isValid()) return;
    const std::int64_t t = frameTime(frame);
    lastFrameUs_ = t;
    latestFrame_ = frame;
    latestPicture_ = QImage();
    latestUs_ = t;
    ++framesReceived_;

    if (autoFramesLeft_ > 0 && !latest().isNull()) {
        autoHistogram_.add(latest());
        --autoFramesLeft_;
    }
    // While a sequence capture runs, the window shows the pictures going into the file, with
    // or without preview (a grabbed frame does not freeze it).
    const bool taken = sequence_ && sequence_->wouldTake(t) && sequenceFrame(latest(), t);
    const bool previewDue = preview_ && (lastShownUs_ < 0 || t - lastShownUs_ >= previewRateMs_ * 1000 - 2000);
    if ((taken || previewDue) && !latest().isNull()) {
        lastShownUs_ = t;
        showPicture(latest());
    }
    emit progressed();
}

void CaptureWindow::showPicture(const QImage& picture)
{
    shown_ = coding_ == VideoCoding::Palettised && paletteMap_ ? paletteMap_->apply(picture) : picture;
    printed_.clear();
    update();
    emit pictureShown();
}

QImage CaptureWindow::forFile(const QImage& picture) const
{
    if (coding_ == VideoCoding::Palettised && paletteMap_) return paletteMap_->apply(picture);
    return picture;
}

void CaptureWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (shown_.isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    if (shown_.size() == size()) {
        p.drawImage(0, 0, shown_);
    } else {
        // A window smaller or larger than the picture shows all of it, keeping its shape.
        p.fillRect(rect(), Qt::black);
        const QSize fitted = shown_.size().scaled(size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                           fitted);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, shown_);
    }
    DrawStamp(p, height(), printed_);
}

void CaptureWindow::printText(const QString& text)
{
    printed_ = text;
    update();
}

bool CaptureWindow::setPreview(bool on)
{
    if (!driver_) return false;
    preview_ = on;
    lastShownUs_ = -1;
    if (on && !latest().isNull()) showPicture(latest());
    return true;
}

bool CaptureWindow::setPreviewRate(int milliseconds)
{
    if (milliseconds < 0) return false;
    previewRateMs_ = milliseconds;
    return true;
}

// The capture window's one wait: for pictures to arrive or a capture to end, handling the
// interface's events meanwhile (the camera's pictures arrive through them).
bool CaptureWindow::waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    if (done()) return true;
    QPointer<CaptureWindow> self(this);
    QEventLoop loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    connect(this, &CaptureWindow::progressed, &loop, [&] {
        if (done()) loop.quit();
    });
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
    return self && done();
}

bool CaptureWindow::waitForNewFrame(int timeoutMs)
{
    if (!driver_) return false;
    const std::int64_t before = framesReceived_;
    return waitUntil([this, before] { return framesReceived_ > before; }, timeoutMs);
}

bool CaptureWindow::grabFrame()
{
    if (!driver_ || capturing()) return false;
    preview_ = false;
    if (!waitForNewFrame() || latest().isNull()) return false;
    showPicture(latest());
    return true;
}

// Files ------------------------------------------------------------------------------------

bool CaptureWindow::setCaptureFile(const QString& path)
{
    if (path.isEmpty() || capturing() || singleFrames_) return false;
    const QFileInfo info(path);
    if (info.isDir() || !info.absoluteDir().exists()) return false;
    captureFile_ = info.absoluteFilePath();
    return true;
}

bool CaptureWindow::fileAllocate(std::int64_t bytes)
{
    if (capturing() || singleFrames_ || captureFile_.isEmpty()) return false;
    QDir().mkpath(QFileInfo(captureFile_).absolutePath());
    return AviWriter::ReserveSpace(captureFile_, bytes);
}

bool CaptureWindow::fileSaveAs(const QString& path)
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

bool CaptureWindow::fileSaveDIB(const QString& path)
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

bool CaptureWindow::editCopy()
{
    if (shown_.isNull()) return false;
    QGuiApplication::clipboard()->setImage(shown_);
    return true;
}

bool CaptureWindow::setAudioFormat(const QByteArray& record)
{
    const std::optional<WaveFormatEx> format = WaveFormatEx::FromBytes(record);
    if (!format || !format->isRecordablePcm() || capturing()) return false;
    audio_ = *format;
    return true;
}

bool CaptureWindow::captureSetSetup(const QByteArray& record)
{
    const std::optional<CaptureParameters> p = CaptureParameters::FromBytes(record);
    if (!p || capturing()) return false;
    parameters_ = *p;
    return true;
}

// The camera's dialogs -----------------------------------------------------------------------

bool CaptureWindow::dlgVideoFormat()
{
    if (!driver_ || capturing() || singleFrames_) return false;
    VideoFormatDialog dialog(driver_->formats(), driver_->format(), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    if (!driver_ || !driver_->setFormat(dialog.chosen())) return false;
    latestFrame_ = QVideoFrame();
    latestPicture_ = QImage();
    return true;
}

bool CaptureWindow::dlgVideoSource()
{
    if (!driver_ || capturing()) return false;
    VideoSourceDialog dialog(driverIndex_, driver_.get(), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    const int chosen = dialog.chosenCamera();
    if (chosen != driverIndex_ && !singleFrames_) {
        if (!driverConnect(chosen)) return false;
        preview_ = true;
        emit driverChanged(chosen);
    }
    return true;
}

bool CaptureWindow::dlgVideoCompression()
{
    if (capturing() || singleFrames_) return false;
    VideoCompressionDialog dialog(coding_, quality_, !palette_.isEmpty(), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    setCompression(dialog.coding(), dialog.quality());
    return true;
}

void CaptureWindow::setCompression(VideoCoding coding, int quality)
{
    coding_ = coding == VideoCoding::Palettised && palette_.isEmpty() ? VideoCoding::Uncompressed : coding;
    quality_ = std::clamp(quality, 1, 100);
}

// Palettes ---------------------------------------------------------------------------------

bool CaptureWindow::paletteOpen(const QString& path)
{
    const std::optional<QVector<QRgb>> palette = ReadPaletteFile(path);
    if (!palette) return false;
    palette_ = *palette;
    paletteMap_ = std::make_unique<PaletteMap>(palette_);
    return true;
}

bool CaptureWindow::paletteSave(const QString& path)
{
    return !palette_.isEmpty() && WritePaletteFile(path, palette_);
}

bool CaptureWindow::paletteAuto(int frames, int colours)
{
    if (!driver_ || capturing() || frames < 1) return false;
    autoHistogram_.clear();
    autoFramesLeft_ = frames;
    const double fps = std::max(1.0f, driver_->format().maxFps);
    const bool sampled = waitUntil([this] { return autoFramesLeft_ == 0; },
                                   int(frames * 2000 / fps) + 5000);
    autoFramesLeft_ = 0;
    if (!sampled || autoHistogram_.isEmpty()) return false;
    palette_ = autoHistogram_.medianCut(colours);
    paletteMap_ = std::make_unique<PaletteMap>(palette_);
    return true;
}

bool CaptureWindow::paletteManual(bool grab, int colours)
{
    if (grab) {
        if (!driver_ || !waitForNewFrame()) return false;
        manualHistogram_.add(latest());
        return true;
    }
    if (manualHistogram_.isEmpty()) return false;
    palette_ = manualHistogram_.medianCut(colours);
    paletteMap_ = std::make_unique<PaletteMap>(palette_);
    manualHistogram_.clear();
    return true;
}
