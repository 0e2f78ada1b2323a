#include "capture/device/CapturePalette.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <limits>

namespace {
int Cell(int r5, int g5, int b5) { return (r5 << 10) | (g5 << 5) | b5; }
int CellOf(QRgb c) { return Cell(qRed(c) >> 3, qGreen(c) >> 3, qBlue(c) >> 3); }
// The centre of a cell, in 8-bit levels.
int Level(int v5) { return (v5 << 3) | 4; }

struct Box {
    int low[3];
    int high[3];   // inclusive, 5-bit levels
    std::uint64_t population = 0;
};
}

void ColourHistogram::add(const QImage& picture)
{
    if (picture.isNull()) return;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const qint64 pixels = qint64(rgb.width()) * rgb.height();
    const int step = pixels > 640 * 480 ? int((pixels + 640 * 480 - 1) / (640 * 480)) : 1;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = (y * 7) % step; x < rgb.width(); x += step) {
            ++cells_[size_t(CellOf(line[x]))];
            ++total_;
        }
    }
}

void ColourHistogram::clear()
{
    std::fill(cells_.begin(), cells_.end(), 0u);
    total_ = 0;
}

std::uint32_t ColourHistogram::count(int r5, int g5, int b5) const
{
    return cells_[size_t(Cell(r5, g5, b5))];
}

QVector<QRgb> ColourHistogram::medianCut(int colours) const
{
    colours = std::clamp(colours, 1, 256);
    QVector<QRgb> out;
    if (total_ == 0) return out;

    auto shrink = [this](Box& b) {
        int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
        b.population = 0;
        for (int r = b.low[0]; r <= b.high[0]; ++r)
            for (int g = b.low[1]; g <= b.high[1]; ++g)
                for (int bl = b.low[2]; bl <= b.high[2]; ++bl) {
                    const std::uint32_t n = count(r, g, bl);
                    if (!n) continue;
                    b.population += n;
                    const int v[3] = {r, g, bl};
                    for (int k = 0; k < 3; ++k) {
                        lo[k] = std::min(lo[k], v[k]);
                        hi[k] = std::max(hi[k], v[k]);
                    }
                }
        if (b.population)
            for (int k = 0; k < 3; ++k) {
                b.low[k] = lo[k];
                b.high[k] = hi[k];
            }
    };

    std::vector<Box> boxes{Box{{0, 0, 0}, {31, 31, 31}, 0}};
    shrink(boxes[0]);
    while (int(boxes.size()) < colours) {
        // The most populous box that still holds more than one colour cell.
        int pick = -1;
        for (int i = 0; i < int(boxes.size()); ++i) {
            const Box& b = boxes[size_t(i)];
            const bool splittable =
                b.low[0] < b.high[0] || b.low[1] < b.high[1] || b.low[2] < b.high[2];
            if (splittable && (pick < 0 || b.population > boxes[size_t(pick)].population)) pick = i;
        }
        if (pick < 0) break;
        Box b = boxes[size_t(pick)];
        int axis = 0;
        for (int k = 1; k < 3; ++k)
            if (b.high[k] - b.low[k] > b.high[axis] - b.low[axis]) axis = k;
        // The plane below which half of the box's population lies (at least one plane each side).
        std::uint64_t below = 0;
        int cut = b.low[axis];
        for (int plane = b.low[axis]; plane < b.high[axis]; ++plane) {
            Box slab = b;
            slab.low[axis] = slab.high[axis] = plane;
            std::uint64_t n = 0;
            for (int r = slab.low[0]; r <= slab.high[0]; ++r)
                for (int g = slab.low[1]; g <= slab.high[1]; ++g)
                    for (int bl = slab.low[2]; bl <= slab.high[2]; ++bl) n += count(r, g, bl);
            below += n;
            cut = plane;
            if (2 * below >= b.population) break;
        }
        Box first = b, second = b;
        first.high[axis] = cut;
        second.low[axis] = cut + 1;
        shrink(first);
        shrink(second);
        boxes[size_t(pick)] = first;
        if (second.population) boxes.push_back(second);
    }

    for (const Box& b : boxes) {
        std::uint64_t sum[3] = {0, 0, 0};
        for (int r = b.low[0]; r <= b.high[0]; ++r)
            for (int g = b.low[1]; g <= b.high[1]; ++g)
                for (int bl = b.low[2]; bl <= b.high[2]; ++bl) {
                    const std::uint64_t n = count(r, g, bl);
                    sum[0] += n * std::uint64_t(Level(r));
                    sum[1] += n * std::uint64_t(Level(g));
                    sum[2] += n * std::uint64_t(Level(bl));
                }
        if (!b.population) continue;
        out.push_back(qRgb(int((sum[0] + b.population / 2) / b.population),
                           int((sum[1] + b.population / 2) / b.population),
                           int((sum[2] + b.population / 2) / b.population)));
    }
    return out;
}

PaletteMap::PaletteMap(const QVector<QRgb>& palette) : palette_(palette.mid(0, 256))
{
    if (palette_.isEmpty()) return;
    table_.resize(32768);
    for (int cell = 0; cell < 32768; ++cell) {
        const int r = Level(cell >> 10), g = Level((cell >> 5) & 31), b = Level(cell & 31);
        int best = 0;
        int bestDistance = std::numeric_limits<int>::max();
        for (int i = 0; i < palette_.size(); ++i) {
            const int dr = qRed(palette_[i]) - r, dg = qGreen(palette_[i]) - g,
                      db = qBlue(palette_[i]) - b;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        table_[size_t(cell)] = std::uint8_t(best);
    }
}

int PaletteMap::indexOf(QRgb colour) const
{
    return table_.empty() ? -1 : table_[size_t(CellOf(colour))];
}

QImage PaletteMap::apply(const QImage& picture) const
{
    if (table_.empty() || picture.isNull()) return QImage();
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(palette_);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* line = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) line[x] = table_[size_t(CellOf(in[x]))];
    }
    return out;
}

std::optional<QVector<QRgb>> ReadPaletteFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    // A palette file is small; anything past a megabyte is not one.
    const QByteArray bytes = file.read(1 << 20);
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "PAL ")
        return std::nullopt;
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const quint32 size = qFromLittleEndian<quint32>(p + at + 4);
        if (bytes.mid(at, 4) == "data") {
            if (size < 4 || at + 8 + qsizetype(size) > bytes.size()) return std::nullopt;
            const int count = qFromLittleEndian<quint16>(p + at + 10);
            if (count < 1 || count > 256 || 4 + 4 * quint32(count) > size) return std::nullopt;
            QVector<QRgb> palette;
            for (int i = 0; i < count; ++i) {
                const uchar* e = p + at + 12 + 4 * i;
                palette.push_back(qRgb(e[0], e[1], e[2]));
            }
            return palette;
        }
        at += 8 + qsizetype(size) + (size & 1);
    }
    return std::nullopt;
}

bool WritePaletteFile(const QString& path, const QVector<QRgb>& palette)
{
    if (palette.isEmpty() || palette.size() > 256) return false;
    const int n = int(palette.size());
    QByteArray bytes(24 + 4 * n, '\0');
    auto* p = reinterpret_cast<uchar*>(bytes.data());
    std::memcpy(p, "RIFF", 4);
    qToLittleEndian<quint32>(quint32(bytes.size() - 8), p + 4);
    std::memcpy(p + 8, "PAL data", 8);
    qToLittleEndian<quint32>(quint32(4 + 4 * n), p + 16);
    qToLittleEndian<quint16>(0x0300, p + 20);
    qToLittleEndian<quint16>(quint16(n), p + 22);
    for (int i = 0; i < n; ++i) {
        uchar* e = p + 24 + 4 * i;
        e[0] = uchar(qRed(palette[i]));
        e[1] = uchar(qGreen(palette[i]));
        e[2] = uchar(qBlue(palette[i]));
        e[3] = 0;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
