#include "imaging/window/CropSelection.h"

#include "general/General.h"
#include "imaging/pipeline/NumericText.h"

#include <algorithm>

namespace {
std::int16_t Pixels(double twips, float scale)
{
    if (scale == 0) throw ImagingError(QStringLiteral("Division by zero"));
    return general::CInt(twips / double(scale));
}
}

CropValues CropSelection::press(QPointF point, float scaleX, float scaleY)
{
    anchor_ = QPointF(general::Round(point.x()), general::Round(point.y()));
    CropValues values;
    values.rectangle = QRectF(anchor_, QSizeF(0, 0));
    values.left = Pixels(anchor_.x(), scaleX);
    values.top = Pixels(anchor_.y(), scaleY);
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
    values.left = Pixels(left, scaleX);
    values.right = Pixels(right, scaleX);
    values.top = Pixels(top, scaleY);
    values.bottom = Pixels(bottom, scaleY);
    values.width = Pixels(right - left, scaleX);
    values.height = Pixels(bottom - top, scaleY);
    return values;
}
