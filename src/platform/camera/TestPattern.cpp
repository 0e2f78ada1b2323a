#include "platform/camera/TestPattern.h"

#include <QFont>
#include <QPainter>
#include <algorithm>

namespace testpattern {
namespace {
const QColor kBars[] = {Qt::white, Qt::yellow, Qt::cyan, Qt::green,
                        Qt::magenta, Qt::red, Qt::blue, Qt::black};

QColor Lit(const QColor& c, double brightness)
{
    auto f = [brightness](int v) {
        return std::clamp(int(v + brightness * 128), 0, 255);
    };
    return QColor(f(c.red()), f(c.green()), f(c.blue()));
}
}

QRect CounterSquare(QSize size, int bit)
{
    const int side = std::max(2, size.width() / (CounterBits + 2));
    const int left = (size.width() - side * CounterBits) / 2;
    return QRect(left + (CounterBits - 1 - bit) * side, size.height() - side - 2, side, side);
}

QImage Frame(QSize size, std::int64_t counter, const QDateTime& clock, double brightness)
{
    QImage image(size, QImage::Format_RGB32);
    Draw(image, counter, clock, brightness);
    return image;
}

void Draw(QImage& image, std::int64_t counter, const QDateTime& clock, double brightness)
{
    const QSize size = image.size();
    const int w = size.width(), h = size.height();
    QPainter p(&image);
    // Eight bars that slide right by a 64th of the width each frame, round and round.
    const int bar = std::max(1, w / 8);
    const int offset = int((counter * std::max(1, w / 64)) % (8 * bar));
    for (int i = -8; i <= 8; ++i)
        p.fillRect(i * bar + offset, 0, bar, h, Lit(kBars[(i + 8) % 8], brightness));
    // A dark band behind the texts.
    p.fillRect(QRect(0, h / 4, w, h / 2), QColor(0, 0, 0, 170));

    QFont big("DejaVu Sans Mono");
    big.setPixelSize(std::max(8, h / 5));
    big.setBold(true);
    p.setFont(big);
    p.setPen(Qt::white);
    p.drawText(QRect(0, h / 4, w, h / 3), Qt::AlignCenter, QString::number(counter));
    QFont small("DejaVu Sans Mono");
    small.setPixelSize(std::max(6, h / 16));
    p.setFont(small);
    p.drawText(QRect(0, h / 4 + h / 3, w, h / 6), Qt::AlignCenter,
               clock.toString("yyyy-MM-dd HH:mm:ss.zzz"));

    // The counter as squares on a grey ground.
    const QRect first = CounterSquare(size, CounterBits - 1);
    p.fillRect(QRect(0, first.top() - 2, w, h - first.top() + 2), Qt::gray);
    for (int bit = 0; bit < CounterBits; ++bit)
        p.fillRect(CounterSquare(size, bit), (counter >> bit) & 1 ? Qt::white : Qt::black);
}

} // namespace testpattern
