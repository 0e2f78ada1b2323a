#include "platform/camera/QtCameraDriver.h"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QVideoFrameFormat>
#include <cmath>
#include <cstdlib>

namespace {
enum ControlId { Zoom = 1, Exposure = 2, Temperature = 3 };

QString PixelFormatName(QVideoFrameFormat::PixelFormat f)
{
    QString name = QVideoFrameFormat::pixelFormatToString(f);
    return name.startsWith("Format_") ? name.mid(7) : name;
}

CameraDriver::Format FormatOf(const QCameraFormat& f)
{
    return {f.resolution(), PixelFormatName(f.pixelFormat()), f.minFrameRate(), f.maxFrameRate()};
}
}

QtCameraDriver::QtCameraDriver(const QCameraDevice& device, QObject* parent)
    : CameraDriver(parent), device_(device), camera_(new QCamera(device, this)),
      session_(new QMediaCaptureSession(this))
{
    session_->setCamera(camera_);
    session_->setVideoSink(sink());
    const QList<Format> offered = formats();
    const int preferred = PreferredFormat(offered);
    if (preferred >= 0) camera_->setCameraFormat(device_.videoFormats().at(preferred));
    connect(camera_, &QCamera::activeChanged, this, &CameraDriver::activeChanged);
    connect(camera_, &QCamera::errorOccurred, this, [this](QCamera::Error error, const QString& text) {
        if (error != QCamera::NoError) emit errorOccurred(text);
    });
}

QtCameraDriver::~QtCameraDriver() { camera_->stop(); }

int QtCameraDriver::PreferredFormat(const QList<Format>& formats)
{
    int best = -1;
    auto score = [](const Format& f) {
        return std::abs(f.resolution.width() - 640) + std::abs(f.resolution.height() - 480);
    };
    for (int i = 0; i < formats.size(); ++i) {
        if (best < 0) {
            best = i;
            continue;
        }
        const Format& f = formats[i];
        const Format& b = formats[best];
        if (score(f) < score(b) || (score(f) == score(b) && f.maxFps > b.maxFps)) best = i;
    }
    return best;
}

QList<CameraDriver::Format> QtCameraDriver::formats() const
{
    QList<Format> out;
    for (const QCameraFormat& f : device_.videoFormats()) out << FormatOf(f);
    return out;
}

CameraDriver::Format QtCameraDriver::format() const { return FormatOf(camera_->cameraFormat()); }

bool QtCameraDriver::setFormat(const Format& wanted)
{
    for (const QCameraFormat& f : device_.videoFormats()) {
        if (FormatOf(f) == wanted) {
            camera_->setCameraFormat(f);
            return true;
        }
    }
    return false;
}

QList<CameraDriver::Control> QtCameraDriver::controls() const
{
    QList<Control> out;
    if (camera_->maximumZoomFactor() > camera_->minimumZoomFactor())
        out << Control{Zoom, 616, camera_->minimumZoomFactor(), camera_->maximumZoomFactor(), 0.1,
                       camera_->zoomFactor()};
    if (camera_->supportedFeatures().testFlag(QCamera::Feature::ExposureCompensation))
        out << Control{Exposure, 634, -2, 2, 0.1, camera_->exposureCompensation()};
    if (camera_->supportedFeatures().testFlag(QCamera::Feature::ColorTemperature))
        out << Control{Temperature, 600, 2000, 10000, 100, double(camera_->colorTemperature())};
    return out;
}

void QtCameraDriver::setControl(int id, double value)
{
    switch (id) {
    case Zoom: camera_->setZoomFactor(float(value)); break;
    case Exposure: camera_->setExposureCompensation(float(value)); break;
    case Temperature: camera_->setColorTemperature(int(std::lround(value))); break;
    default: break;
    }
}

bool QtCameraDriver::start()
{
    camera_->start();
    return camera_->error() == QCamera::NoError;
}

void QtCameraDriver::stop() { camera_->stop(); }

bool QtCameraDriver::isActive() const { return camera_->isActive(); }
