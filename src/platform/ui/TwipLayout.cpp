#include "platform/ui/TwipLayout.h"

#include "platform/ui/Twips.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <cmath>

TwipLayout::TwipLayout(QWidget* root, QSize designSize) : QLayout(root), root_(root), design_(designSize)
{
    setContentsMargins(0, 0, 0, 0);
    setSizeConstraint(QLayout::SetDefaultConstraint);
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

QSize TwipLayout::minimumSize() const
{
    const QSize normal = normalPixelSize();
    return QSize(int(std::ceil(normal.width() * MinimumScale)), int(std::ceil(normal.height() * MinimumScale)));
}

void TwipLayout::place(QWidget* control, int left, int top, int width, int height)
{
    auto it = rects_.find(control);
    if (it == rects_.end()) {
        connect(control, &QObject::destroyed, this, [this, control] { rects_.remove(control); });
        // The design font: the control's own, or the one its kind has; not one a parent that
        // was shrunk already handed down.
        it = rects_.insert(control, {QRect(), control->testAttribute(Qt::WA_SetFont)
                                                   ? control->font() : QApplication::font(control)});
    }
    it->twips = QRect(left, top, width, height);
    applyOne(control, *it);
}

void TwipLayout::move(QWidget* control, int left, int top)
{
    const QRect r = twips(control);
    place(control, left, top, r.width(), r.height());
}

void TwipLayout::resize(QWidget* control, int width, int height)
{
    const QRect r = twips(control);
    place(control, r.left(), r.top(), width, height);
}

void TwipLayout::applyOne(QWidget* control, const Placed& placed)
{
    const QRect& r = placed.twips;
    const double sx = scaleX(), sy = scaleY();
    // Edges are rounded, not sizes, so neighbouring controls stay flush.
    const int x1 = int(std::lround(r.left() * sx)), y1 = int(std::lround(r.top() * sy));
    const int x2 = int(std::lround((r.left() + r.width()) * sx));
    const int y2 = int(std::lround((r.top() + r.height()) * sy));
    control->setGeometry(x1, y1, std::max(0, x2 - x1), std::max(0, y2 - y1));

    // Texts shrink with a window made smaller than designed, by the tighter of its two scales and
    // a little more: fonts do not shrink in proportion at every size, and the controls' edges
    // are rounded to pixels.
    const double scale = std::min(sx, sy) * twips::PerPixel;
    const double shrink = scale < 1.0 ? scale * 0.92 : 1.0;
    QFont font = placed.font;
    if (shrink < 1.0) {
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * shrink);
        else if (font.pixelSize() > 0)
            font.setPixelSize(std::max(1, int(font.pixelSize() * shrink)));
    }
    if (control->font() != font) control->setFont(font);
}

void TwipLayout::apply()
{
    for (auto it = rects_.cbegin(); it != rects_.cend(); ++it) applyOne(it.key(), it.value());
}

void TwipLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    apply();
}
