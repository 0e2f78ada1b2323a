#include "imaging/window/PreviewImage.h"

#include "platform/ui/Twips.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
// The rectangle outline: a frame drawn over the picture, letting the mouse through.
class SelectionOutline : public QWidget {
public:
    explicit SelectionOutline(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};
}

PreviewImage::PreviewImage(QWidget* parent) : QWidget(parent), selection_(new SelectionOutline(this))
{
    selection_->setObjectName("Shape_select");
    selection_->hide();
}

void PreviewImage::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void PreviewImage::setTwipSize(QSizeF twips)
{
    twips_ = twips;
    placeSelection();
}

QPointF PreviewImage::toTwips(QPointF pixel) const { return twips::PointToTwips(pixel, twips_, QSizeF(size())); }

QPointF PreviewImage::toPixels(QPointF twips) const { return twips::PointToPixels(twips, twips_, QSizeF(size())); }

void PreviewImage::showSelection(const QRectF& twips)
{
    selectionTwips_ = twips;
    placeSelection();
    selection_->show();
    selection_->raise();
}

void PreviewImage::setSelectionVisible(bool visible) { selection_->setVisible(visible); }

bool PreviewImage::selectionVisible() const { return selection_->isVisible(); }

void PreviewImage::placeSelection()
{
    const QPointF a = toPixels(selectionTwips_.topLeft());
    const QPointF b = toPixels(selectionTwips_.bottomRight());
    // A rectangle of no size still shows as a point, as the outline of a pressed anchor.
    selection_->setGeometry(QRect(QPoint(int(a.x()), int(a.y())), QPoint(int(b.x()), int(b.y())))
                                .normalized()
                                .adjusted(0, 0, 1, 1));
}

void PreviewImage::paintEvent(QPaintEvent*)
{
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture_);
}

void PreviewImage::resizeEvent(QResizeEvent*) { placeSelection(); }

void PreviewImage::mousePressEvent(QMouseEvent* event) { emit mousePressed(toTwips(event->position())); }

void PreviewImage::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->buttons(), toTwips(event->position()));
}

void PreviewImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint())) emit clicked();
}
