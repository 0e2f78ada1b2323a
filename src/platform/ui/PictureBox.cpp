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
    return twips::PointToTwips(pixel, QSizeF(surface_.ScaleWidth(), surface_.ScaleHeight()), QSizeF(size()));
}

QPointF PictureBox::toPixels(QPointF twips) const
{
    return twips::PointToPixels(twips, QSizeF(surface_.ScaleWidth(), surface_.ScaleHeight()), QSizeF(size()));
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
