#include "imaging/window/CropSelection.h"

#include "general/General.h"
#include "imaging/window/ImagingFailure.h"

#include <algorithm>

namespace {
// The pixels of a twip length at a scale into `out`; a failure already in `values` stays.
void Pixels(double twips, float scale, std::int16_t& out, CropValues& values)
{
    if (!values.outcome.ok) return;
    if (scale == 0) {
        values.outcome = ImagingFailure(QStringLiteral("Division by zero"));
        return;
    }
    if (const auto pixels = general::ToInt16(twips / double(scale)))
        out = *pixels;
    else
        values.outcome = ImagingFailure(QStringLiteral("Overflow"));
}
}

CropValues CropSelection::press(QPointF point, float scaleX, float scaleY)
{
    anchor_ = QPointF(general::Round(point.x()), general::Round(point.y()));
    CropValues values;
    values.rectangle = QRectF(anchor_, QSizeF(0, 0));
    Pixels(anchor_.x(), scaleX, values.left, values);
    Pixels(anchor_.y(), scaleY, values.top, values);
    return values;
}

CropValues CropSelection::move(QPointF point, QSizeF preview, float scaleX, float scaleY)
{
    const double x = general::Round(std::clamp(point.x(), 0.0, std::max(0.0, preview.width() - 1)));
    const double y = general::Round(std::clamp(point.y(), 0.0, std::max(0.0, preview.height() - 1)));
    const double left = std::min(anchor_.x(), x), right = std::max(anchor_.x(), x);
    const double top = std::min(anchor_.y(), y), bottom = std::max(anchor_.y(), y);
    CropValues values;
    values.rectangle = QRectF(QPointF(left, top), QPointF(right, bottom));
    Pixels(left, scaleX, values.left, values);
    Pixels(right, scaleX, values.right, values);
    Pixels(top, scaleY, values.top, values);
    Pixels(bottom, scaleY, values.bottom, values);
    Pixels(right - left, scaleX, values.width, values);
    Pixels(bottom - top, scaleY, values.height, values);
    return values;
}
