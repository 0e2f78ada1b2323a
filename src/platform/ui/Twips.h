#pragma once
// Twips (1/1440 inch) and pixels: the one conversion between them. The screen is taken at 96
// dots per inch, 15 twips a pixel, as every window of KIVRA is designed. Conversions round to
// the nearest pixel or twip, halves away from zero.
//
// An area drawn in twips (a picture box, the image processor's preview) and shown at some pixel
// size maps points between the two by the ratio of its sizes, each axis on its own; an axis
// without a size on either side measures 15 twips a pixel.
#include <QPointF>
#include <QSizeF>
#include <cmath>

namespace twips {

inline constexpr double PerPixel = 15.0;

inline int ToPixels(double twips) { return int(std::lround(twips / PerPixel)); }
inline int FromPixels(double pixels) { return int(std::lround(pixels * PerPixel)); }

// Twips per pixel of an area `areaTwips` big shown `areaPixels` big, along x and y.
inline QPointF Scale(QSizeF areaTwips, QSizeF areaPixels)
{
    auto axis = [](double t, double p) { return t > 0 && p > 0 ? t / p : PerPixel; };
    return {axis(areaTwips.width(), areaPixels.width()), axis(areaTwips.height(), areaPixels.height())};
}
// A pixel position inside such an area in its twips, and back.
inline QPointF PointToTwips(QPointF pixel, QSizeF areaTwips, QSizeF areaPixels)
{
    const QPointF s = Scale(areaTwips, areaPixels);
    return {pixel.x() * s.x(), pixel.y() * s.y()};
}
inline QPointF PointToPixels(QPointF twips, QSizeF areaTwips, QSizeF areaPixels)
{
    const QPointF s = Scale(areaTwips, areaPixels);
    return {twips.x() / s.x(), twips.y() / s.y()};
}

} // namespace twips
