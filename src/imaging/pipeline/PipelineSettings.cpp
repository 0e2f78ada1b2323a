#include "imaging/pipeline/PipelineSettings.h"

#include "general/General.h"
#include "imaging/pipeline/NumericText.h"

#include "imaging/file/FreeImageAccess.h"

#include <limits>

std::optional<double> GammaOf(int slider)
{
    if (slider > 0) return 1.0 + slider / 10.0;
    if (slider < 0) return 1.001 + slider / 100.0;
    return std::nullopt;
}

int RescaleFilterOf(int resizeOption)
{
    switch (resizeOption) {
    case 0: return FILTER_BSPLINE;
    case 2: return FILTER_BOX;
    default: return FILTER_CATMULLROM;
    }
}

namespace {
// percent * size / 100 in 32-bit arithmetic: the product overflows as a 32-bit product does.
int PercentOf(std::int32_t percent, int size)
{
    const std::int64_t product = std::int64_t(percent) * size;
    if (product > std::numeric_limits<std::int32_t>::max() ||
        product < std::numeric_limits<std::int32_t>::min())
        throw general::OverflowError();
    return int(product / 100);
}
}

PipelineOptions ResolveOptions(const ImageOptions& o)
{
    auto whole = [](const QString& text) {
        return BoxNumber<std::int32_t>::Read(text, [](const QString& t) { return TextToLong(t); });
    };
    PipelineOptions p;
    p.flipHorizontal = o.flipHorizontal;
    p.flipVertical = o.flipVertical;
    p.invert = o.invert;
    p.contrast = o.contrast;
    p.brightness = o.brightness;
    p.gamma = GammaOf(o.gamma);
    p.rescale = o.rescale;
    p.rescaleFilter = RescaleFilterOf(o.resizeOption);
    p.widthPercent = whole(o.widthPercent);
    p.heightPercent = whole(o.heightPercent);
    p.widthPixels = whole(o.widthPixels);
    p.heightPixels = whole(o.heightPixels);
    p.batchRunning = o.batchRunning;
    p.referenceWidth = o.referenceWidth;
    p.referenceHeight = o.referenceHeight;
    p.crop = o.crop;
    p.cropLeft = whole(o.cropLeft);
    p.cropTop = whole(o.cropTop);
    p.cropRight = whole(o.cropRight);
    p.cropBottom = whole(o.cropBottom);
    p.rotate = o.rotate;
    switch (o.rotateOption) {
    case 0: p.rotation = BoxNumber<double>::Of(-90.0); break;
    case 1: p.rotation = BoxNumber<double>::Of(90.0); break;
    case 2: p.rotation = BoxNumber<double>::Of(180.0); break;
    case 3: p.rotation = BoxNumber<double>::Of(270.0); break;
    case 4:
        p.rotation = BoxNumber<double>::Read(o.rotateAngle, [](const QString& t) { return TextToDouble(t); });
        break;
    default: break;
    }
    p.quality = o.quality;
    return p;
}

PixelSize RescaleTarget(int width, int height, const PipelineOptions& options)
{
    const bool referenceSize =
        width == options.referenceWidth && height == options.referenceHeight;
    if (!options.batchRunning || referenceSize)
        return {options.widthPixels.value(), options.heightPixels.value()};
    if (width == options.referenceHeight && height == options.referenceWidth)
        return {options.heightPixels.value(), options.widthPixels.value()};
    return {PercentOf(options.widthPercent.value(), width), PercentOf(options.heightPercent.value(), height)};
}

PixelSize RescaleTarget(int width, int height, const ImageOptions& options)
{
    return RescaleTarget(width, height, ResolveOptions(options));
}

std::optional<double> RotationAngleOf(const PipelineOptions& options)
{
    if (!options.rotation) return std::nullopt;
    return options.rotation->value();
}

std::optional<double> RotationAngleOf(const ImageOptions& options)
{
    return RotationAngleOf(ResolveOptions(options));
}

QString OutputTypeWord(const QString& fileName)
{
    return fileName.right(3).toUpper();
}
