#include "ImageFiles.h"

#include "support/Tools.h"

#include <algorithm>
#include <cstdlib>

bool Convert(const QStringList& arguments)
{
    return RunTool("convert", arguments).exitCode == 0;
}

bool MakePlasma(const QString& path, int width, int height, int seed)
{
    // -depth 8 and no colour profile: a plain 8-bit picture every reader takes alike.
    return Convert({"-seed", QString::number(seed), "-size", QString("%1x%2").arg(width).arg(height),
                    "plasma:fractal", "-depth", "8", "-strip", path});
}

QImage Pixels(const QString& path)
{
    const QImage image(path);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32);
}

int LargestDifference(const QImage& a, const QImage& b)
{
    if (a.isNull() || b.isNull() || a.size() != b.size()) return -1;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const QRgb* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            largest = std::max({largest, std::abs(qRed(p[col]) - qRed(q[col])),
                                std::abs(qGreen(p[col]) - qGreen(q[col])),
                                std::abs(qBlue(p[col]) - qBlue(q[col])),
                                std::abs(qAlpha(p[col]) - qAlpha(q[col]))});
    }
    return largest;
}
