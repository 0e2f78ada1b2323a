#include "platform/ui/Surface.h"

#include "platform/ui/Twips.h"

#include <QPainter>
#include <QRectF>
#include <algorithm>

Surface::Surface(int widthTwips, int heightTwips)
    : width_(std::max(0, widthTwips)), height_(std::max(0, heightTwips))
{
    font_.setFamily("Arial");
    font_.setPointSize(8);
}

void Surface::Resize(int widthTwips, int heightTwips)
{
    width_ = std::max(0, widthTwips);
    height_ = std::max(0, heightTwips);
}

void Surface::SetBackColor(const QColor& color)
{
    // As with a picture box, a new background colour clears the drawing.
    back_ = color;
    Cls();
}

void Surface::Cls()
{
    items_.clear();
    texts_.clear();
    CurrentX = 0;
    CurrentY = 0;
}

void Surface::Line(double x1, double y1, double x2, double y2, const QColor& color)
{
    items_.push_back({Kind::Line, {x1, y1}, {x2, y2}, colorOr(color), drawWidth_});
    CurrentX = x2;
    CurrentY = y2;
}

void Surface::LineTo(double x2, double y2, const QColor& color)
{
    Line(CurrentX, CurrentY, x2, y2, color);
}

void Surface::FillBox(double x1, double y1, double x2, double y2, const QColor& color)
{
    items_.push_back({Kind::Box, {x1, y1}, {x2, y2}, colorOr(color), drawWidth_});
    CurrentX = x2;
    CurrentY = y2;
}

void Surface::PSet(double x, double y, const QColor& color)
{
    items_.push_back({Kind::Point, {x, y}, {x, y}, colorOr(color), drawWidth_});
    CurrentX = x;
    CurrentY = y;
}

void Surface::Print(const QString& text)
{
    texts_.push_back({text, font_});
    items_.push_back({Kind::Text, {CurrentX, CurrentY}, {}, fore_, drawWidth_, int(texts_.size() - 1)});
    // A point is 20 twips; a line of text is about 1.2 times the point size.
    CurrentY += font_.pointSizeF() * 20.0 * 1.2;
    CurrentX = 0;
}

std::vector<QString> Surface::Texts() const
{
    std::vector<QString> out;
    for (const TextItem& t : texts_) out.push_back(t.text);
    return out;
}

bool Surface::HasInkIn(double x1, double y1, double x2, double y2, const QColor& color) const
{
    const QRectF area = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    for (const Item& item : items_) {
        if (item.color != color) continue;
        const QRectF bounds = QRectF(item.a, item.kind == Kind::Text ? item.a : item.b).normalized();
        // Grow zero-size bounds so points and straight lines still intersect.
        if (bounds.adjusted(-0.5, -0.5, 0.5, 0.5).intersects(area)) return true;
    }
    return false;
}

void Surface::Render(QPainter& painter, const QSizeF& pixelSize, QPointF offsetTwips) const
{
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), pixelSize), back_);
    if (width_ > 0 && height_ > 0) {
        const double sx = pixelSize.width() / width_;
        const double sy = pixelSize.height() / height_;
        painter.setRenderHint(QPainter::Antialiasing, false);
        // A new pen costs the painter more than a short line does, and a trace is thousands of
        // lines in one pen: the pen is set when it changes.
        const Item* penOf = nullptr;
        const auto usePen = [&](const Item& item) {
            if (penOf && penOf->color == item.color && penOf->width == item.width) return;
            QPen pen(item.color);
            pen.setWidth(item.width);
            pen.setCapStyle(Qt::SquareCap);
            painter.setPen(pen);
            penOf = &item;
        };
        for (const Item& item : items_) {
            const QPointF a((item.a.x() - offsetTwips.x()) * sx, (item.a.y() - offsetTwips.y()) * sy);
            const QPointF b((item.b.x() - offsetTwips.x()) * sx, (item.b.y() - offsetTwips.y()) * sy);
            switch (item.kind) {
            case Kind::Line:
                usePen(item);
                painter.drawLine(a, b);
                break;
            case Kind::Point:
                usePen(item);
                painter.drawPoint(a);
                break;
            case Kind::Box:
                painter.fillRect(QRectF(a, b).normalized(), item.color);
                break;
            case Kind::Text: {
                usePen(item);
                const TextItem& t = texts_[std::size_t(item.text)];
                QFont f = t.font;
                // A point is 20 twips: text scales with the drawing, but stays legible.
                f.setPixelSize(std::max(8, int(t.font.pointSizeF() * 20.0 * std::min(sx, sy) + 0.5)));
                painter.setFont(f);
                painter.drawText(QRectF(a, QSizeF(pixelSize.width(), pixelSize.height())),
                                 Qt::AlignLeft | Qt::AlignTop, t.text);
                break;
            }
            }
        }
    }
    painter.restore();
}

QImage Surface::ToImage(QSize pixelSize) const
{
    if (!pixelSize.isValid() || pixelSize.isEmpty())
        pixelSize = QSize(std::max(1, twips::ToPixels(width_)),
                          std::max(1, twips::ToPixels(height_)));
    QImage image(pixelSize, QImage::Format_RGB32);
    QPainter painter(&image);
    Render(painter, QSizeF(pixelSize), {});
    return image;
}
