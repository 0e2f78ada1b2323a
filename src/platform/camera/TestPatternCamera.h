#pragma once
// The built-in test-pattern camera: pictures of the test pattern (platform/TestPattern.h) at the
// chosen size and rate, into the driver's video sink as a real camera's would arrive, with
// their times on the steady clock. One control: exposure compensation, which lightens or darkens
// the pattern. Listed among the cameras only when KIVRA_VIRTUAL_DEVICES=1.
#include "platform/camera/CameraDriver.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>
#include <QVideoFrame>

class TestPatternCamera : public CameraDriver {
    Q_OBJECT
public:
    explicit TestPatternCamera(QObject* parent = nullptr);

    QList<Format> formats() const override;
    Format format() const override { return format_; }
    bool setFormat(const Format& format) override;
    QList<Control> controls() const override;
    void setControl(int id, double value) override;
    bool start() override;
    void stop() override;
    bool isActive() const override { return timer_.isActive(); }

    // Pictures sent since the camera was made.
    qint64 framesSent() const { return counter_; }

    // The video frame the camera sends as picture `counter`: the test pattern drawn straight
    // into the frame's memory. An invalid frame when that memory cannot be had.
    static QVideoFrame Picture(QSize size, qint64 counter, const QDateTime& clock, double brightness = 0.0);

private:
    void sendFrame();

    Format format_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 counter_ = 0;
    double brightness_ = 0;
};
