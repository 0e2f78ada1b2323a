#include "imaging/window/PreviewFit.h"

#include "general/General.h"

#include <cstdint>
#include <limits>

namespace {
std::int32_t Product(int a, int b)
{
    const std::int64_t p = std::int64_t(a) * b;
    if (p > std::numeric_limits<std::int32_t>::max() || p < std::numeric_limits<std::int32_t>::min())
        throw general::OverflowError();
    return std::int32_t(p);
}
}

PreviewSize FitPreview(int maxWidth, int maxHeight, int imageWidth, int imageHeight)
{
    if (maxWidth >= imageWidth && maxHeight >= imageHeight) return {double(imageWidth), double(imageHeight)};
    if (double(imageHeight) / imageWidth > double(maxHeight) / maxWidth)
        return {double(Product(maxHeight, imageWidth)) / imageHeight, double(maxHeight)};
    return {double(maxWidth), double(Product(maxWidth, imageHeight)) / imageWidth};
}
