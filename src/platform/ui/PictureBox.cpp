#include "platform/ui/PictureBox.h"

#include "platform/ui/Twips.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPointF PictureBox::toTwips(QPointF pixel) const
{
    // A box whose surface has no size of its own measures 15 twips per pixel (96 dpi).
    const double sx = surface_.ScaleWidth() > 0 && width() > 0
                          ? double(surface_.ScaleWidth()) / width() : twips::PerPixel;
    const double sy = surface_.ScaleHeight() > 0 && height() > 0
                          ? double(surface_.ScaleHeight()) / height() : twips::PerPixel;
    return {pixel.x() * sx, pixel.y() * sy};
}

QPointF PictureBox::toPixels(QPointF twips) const
{
    const QPointF unit = toTwips(QPointF(1, 1));
    return {twips.x() / unit.x(), twips.y() / unit.y()};
}

QImage PictureBox::picture() const { return surface_.ToImage(size()); }

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    surface_.Render(painter, QSizeF(size()));
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(event->button(), event->modifiers(), toTwips(event->position()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->buttons(), event->modifiers(), toTwips(event->position()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(event->button(), event->modifiers(), toTwips(event->position()));
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit doubleClicked(toTwips(event->position()));
}
