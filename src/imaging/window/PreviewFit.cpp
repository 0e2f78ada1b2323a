#include "imaging/window/PreviewFit.h"

#include <cstdint>
#include <limits>

namespace {
std::optional<std::int32_t> Product(int a, int b)
{
    const std::int64_t p = std::int64_t(a) * b;
    if (p > std::numeric_limits<std::int32_t>::max() || p < std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return std::int32_t(p);
}
}

std::optional<PreviewSize> FitPreview(int maxWidth, int maxHeight, int imageWidth, int imageHeight)
{
    if (maxWidth >= imageWidth && maxHeight >= imageHeight) return PreviewSize{double(imageWidth), double(imageHeight)};
    if (double(imageHeight) / imageWidth > double(maxHeight) / maxWidth) {
        const auto p = Product(maxHeight, imageWidth);
        if (!p) return std::nullopt;
        return PreviewSize{double(*p) / imageHeight, double(maxHeight)};
    }
    const auto p = Product(maxWidth, imageHeight);
    if (!p) return std::nullopt;
    return PreviewSize{double(maxWidth), double(*p) / imageWidth};
}
