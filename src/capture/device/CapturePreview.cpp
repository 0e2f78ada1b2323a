#include "capture/device/CapturePreview.h"

#include "capture/device/CaptureSession.h"
#include "capture/device/PictureStamp.h"

#include <QPainter>

CapturePreview::CapturePreview(CaptureSession* session, QWidget* parent)
    : QWidget(parent), session_(session)
{
    setObjectName("capwnd");
    setAccessibleName("VB CAP WINDOW");
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(160, 120);
    if (session_) {
        connect(session_, &CaptureSession::pictureShown, this, qOverload<>(&QWidget::update));
        connect(session_, &CaptureSession::printedChanged, this, qOverload<>(&QWidget::update));
    }
}

void CapturePreview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QImage shown = session_ ? session_->picture() : QImage();
    if (shown.isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    if (shown.size() == size()) {
        p.drawImage(0, 0, shown);
    } else {
        // A widget smaller or larger than the picture shows all of it, keeping its shape.
        p.fillRect(rect(), Qt::black);
        const QSize fitted = shown.size().scaled(size(), Qt::KeepAspectRatio);
        if (fittedKey_ != shown.cacheKey() || fitted_.size() != fitted) {
            fitted_ = shown.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            fittedKey_ = shown.cacheKey();
        }
        p.drawImage(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted_);
    }
    DrawStamp(p, height(), session_->printedText());
}
