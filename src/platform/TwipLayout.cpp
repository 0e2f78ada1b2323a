#include "platform/TwipLayout.h"

#include "platform/Twips.h"

#include <QEvent>
#include <QWidget>
#include <cmath>

TwipLayout::TwipLayout(QWidget* root, QSize designSize) : QObject(root), root_(root), design_(designSize)
{
    root_->installEventFilter(this);
}

double TwipLayout::scaleX() const
{
    return root_->width() > 0 ? double(root_->width()) / design_.width() : 1 / twips::PerPixel;
}

double TwipLayout::scaleY() const
{
    return root_->height() > 0 ? double(root_->height()) / design_.height() : 1 / twips::PerPixel;
}

QSize TwipLayout::normalPixelSize() const
{
    return QSize(twips::ToPixels(design_.width()), twips::ToPixels(design_.height()));
}

void TwipLayout::place(QWidget* control, int left, int top, int width, int height)
{
    if (!rects_.contains(control))
        connect(control, &QObject::destroyed, this, [this, control] { rects_.remove(control); });
    rects_[control] = QRect(left, top, width, height);
    applyOne(control);
}

void TwipLayout::move(QWidget* control, int left, int top)
{
    QRect r = rects_.value(control);
    place(control, left, top, r.width(), r.height());
}

void TwipLayout::resize(QWidget* control, int width, int height)
{
    QRect r = rects_.value(control);
    place(control, r.left(), r.top(), width, height);
}

void TwipLayout::applyOne(QWidget* control)
{
    const QRect r = rects_.value(control);
    const double sx = scaleX(), sy = scaleY();
    // Edges are rounded, not sizes, so neighbouring controls stay flush.
    const int x1 = int(std::lround(r.left() * sx)), y1 = int(std::lround(r.top() * sy));
    const int x2 = int(std::lround((r.left() + r.width()) * sx));
    const int y2 = int(std::lround((r.top() + r.height()) * sy));
    control->setGeometry(x1, y1, std::max(0, x2 - x1), std::max(0, y2 - y1));
}

void TwipLayout::apply()
{
    for (auto it = rects_.cbegin(); it != rects_.cend(); ++it) applyOne(it.key());
}

bool TwipLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == root_ && event->type() == QEvent::Resize) apply();
    return QObject::eventFilter(watched, event);
}
