#include "platform/video/VideoPicture.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVideoFrame>
#include <QVideoSink>

VideoPicture::VideoPicture(QVideoSink* sink, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetSink(sink);
}

void VideoPicture::SetSink(QVideoSink* sink)
{
    if (sink_) disconnect(sink_, nullptr, this, nullptr);
    sink_ = sink;
    stale_ = true;
    if (!sink_) return;
    connect(sink_, &QVideoSink::videoFrameChanged, this, [this] {
        stale_ = true;
        // A hidden view converts nothing: the frame is read when it is painted.
        if (isVisible()) update();
    });
}

const QImage& VideoPicture::picture()
{
    if (stale_) {
        stale_ = false;
        const QVideoFrame frame = sink_ ? sink_->videoFrame() : QVideoFrame();
        picture_ = frame.isValid() ? frame.toImage() : QImage();
    }
    return picture_;
}

QRect VideoPicture::pictureArea() const
{
    const QSize frame = sink_ ? sink_->videoFrame().size() : QSize();
    if (frame.isEmpty()) return QRect();
    const QSize size = frame.scaled(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void VideoPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QImage& image = picture();
    if (image.isNull()) return;
    const QRect area = pictureArea();
    if (area.size() != image.size()) painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(area, image);
}

void VideoPicture::keyPressEvent(QKeyEvent* event)
{
    if (isWindow() && event->key() == Qt::Key_Escape) {
        emit leaveRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

void VideoPicture::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (isWindow() && event->button() == Qt::LeftButton) {
        emit leaveRequested();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void VideoPicture::closeEvent(QCloseEvent* event)
{
    // Closed by the desktop (a window manager's close button): it is hidden, as on leaving.
    QWidget::closeEvent(event);
    emit leaveRequested();
}
