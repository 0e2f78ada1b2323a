#pragma once
// The size of the preview of an image, in twips.
#include <optional>

struct PreviewSize {
    double width = 0;
    double height = 0;
};

// An image that fits the preview area is shown at its own size (never enlarged). A larger one
// keeps its proportions: a tall one (height / width above the area's) takes the area's height,
// the others its width. The products maxHeight * imageWidth and maxWidth * imageHeight are
// 32-bit products: beyond that range there is no size (the window says "Overflow").
std::optional<PreviewSize> FitPreview(int maxWidth, int maxHeight, int imageWidth, int imageHeight);
