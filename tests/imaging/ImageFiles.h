#pragma once
// Image files made with ImageMagick for the pipeline tests, and pixel comparisons.
#include <QImage>
#include <QString>
#include <QStringList>

// Runs ImageMagick's convert with the arguments; true when it succeeded.
bool Convert(const QStringList& arguments);
// A seeded plasma picture (rich, asymmetric colour everywhere) written to path by ImageMagick,
// in the format of path's extension.
bool MakePlasma(const QString& path, int width, int height, int seed = 7);
// A picture as Qt reads it, as 32-bit ARGB; null when it cannot be read.
QImage Pixels(const QString& path);
// The largest difference of one channel between two pictures; -1 when their sizes differ or
// one of them is null.
int LargestDifference(const QImage& a, const QImage& b);
