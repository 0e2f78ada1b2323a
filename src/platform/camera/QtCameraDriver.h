#pragma once
// A real camera through Qt Multimedia: QCamera in a QMediaCaptureSession whose video sink is
// the driver's. The one file of KIVRA that drives a camera.
#include "platform/camera/CameraDriver.h"

#include <QCameraDevice>
#include <memory>

class QCamera;
class QMediaCaptureSession;

class QtCameraDriver : public CameraDriver {
    Q_OBJECT
public:
    explicit QtCameraDriver(const QCameraDevice& device, QObject* parent = nullptr);
    ~QtCameraDriver() override;

    QList<Format> formats() const override;
    Format format() const override;
    bool setFormat(const Format& format) override;
    QList<Control> controls() const override;
    void setControl(int id, double value) override;
    bool start() override;
    void stop() override;
    bool isActive() const override;

    // The format a camera opens with: 640 × 480 at its highest rate when offered, otherwise the
    // offered format nearest to it in size.
    static int PreferredFormat(const QList<Format>& formats);

private:
    QCameraDevice device_;
    QCamera* camera_;
    QMediaCaptureSession* session_;
};
