#include "capture/device/PictureStamp.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

QImage StampPicture(const QImage& picture, const QString& text)
{
    if (text.isEmpty() || picture.isNull()) return picture;
    QImage out = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                     ? picture.copy()
                     : picture.convertToFormat(QImage::Format_RGB32);
    QPainter p(&out);
    DrawStamp(p, out.height(), text);
    return out;
}

void DrawStamp(QPainter& p, int height, const QString& text)
{
    if (text.isEmpty()) return;
    p.save();
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(9, height / 24));
    p.setFont(font);
    const QFontMetrics metrics(font);
    const QRect box(0, 0, metrics.horizontalAdvance(text) + 6, metrics.height() + 2);
    p.fillRect(box, QColor(0, 0, 0, 190));
    p.setPen(QColor(255, 255, 160));
    p.drawText(box.adjusted(3, 1, -3, -1), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
}
