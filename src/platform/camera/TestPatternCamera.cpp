#include "platform/camera/TestPatternCamera.h"

#include "platform/camera/TestPattern.h"

#include <QDateTime>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <algorithm>
#include <cmath>

namespace {
enum ControlId { Exposure = 2 };
}

TestPatternCamera::TestPatternCamera(QObject* parent) : CameraDriver(parent)
{
    format_ = formats().at(1);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TestPatternCamera::sendFrame);
}

QList<CameraDriver::Format> TestPatternCamera::formats() const
{
    return {{{320, 240}, "RGB32", 1, 30}, {{640, 480}, "RGB32", 1, 30}, {{800, 600}, "RGB32", 1, 15},
            {{1280, 720}, "RGB32", 1, 10}};
}

bool TestPatternCamera::setFormat(const Format& format)
{
    if (!formats().contains(format)) return false;
    format_ = format;
    if (timer_.isActive()) timer_.start(int(std::lround(1000.0 / format_.maxFps)));
    return true;
}

QList<CameraDriver::Control> TestPatternCamera::controls() const
{
    return {Control{Exposure, 634, -1, 1, 0.1, brightness_}};
}

void TestPatternCamera::setControl(int id, double value)
{
    if (id == Exposure) brightness_ = std::clamp(value, -1.0, 1.0);
}

bool TestPatternCamera::start()
{
    if (timer_.isActive()) return true;
    clock_.start();
    timer_.start(int(std::lround(1000.0 / format_.maxFps)));
    emit activeChanged(true);
    return true;
}

void TestPatternCamera::stop()
{
    if (!timer_.isActive()) return;
    timer_.stop();
    emit activeChanged(false);
}

QVideoFrame TestPatternCamera::Picture(QSize size, qint64 counter, const QDateTime& clock, double brightness)
{
    QVideoFrame frame(QVideoFrameFormat(size, QVideoFrameFormat::pixelFormatFromImageFormat(QImage::Format_RGB32)));
    if (!frame.map(QVideoFrame::WriteOnly)) return QVideoFrame();
    QImage image(frame.bits(0), frame.width(), frame.height(), frame.bytesPerLine(0), QImage::Format_RGB32);
    testpattern::Draw(image, counter, clock, brightness);
    frame.unmap();
    return frame;
}

void TestPatternCamera::sendFrame()
{
    QVideoFrame frame = Picture(format_.resolution, counter_, QDateTime::currentDateTime(), brightness_);
    if (!frame.isValid()) return;
    const qint64 us = clock_.nsecsElapsed() / 1000;
    frame.setStartTime(us);
    frame.setEndTime(us + qint64(1e6 / format_.maxFps));
    ++counter_;
    sink()->setVideoFrame(frame);
}
