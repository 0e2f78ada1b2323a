#include "imaging/pipeline/PipelineSettings.h"

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
// The percentage is a box's number, so it may carry the box's error.
Checked<int> PercentOf(const Checked<std::int32_t>& percent, int size)
{
    if (!percent.ok()) return Checked<int>::Failure(percent.error);
    const std::int64_t product = std::int64_t(percent.value) * size;
    if (product > std::numeric_limits<std::int32_t>::max() ||
        product < std::numeric_limits<std::int32_t>::min())
        return Checked<int>::Failure(QStringLiteral("Overflow"));
    return Checked<int>::Of(int(product / 100));
}

// The size of two boxes' numbers, failing with the first box's error, width before height.
Checked<PixelSize> SizeOf(const Checked<int>& width, const Checked<int>& height)
{
    if (!width.ok()) return Checked<PixelSize>::Failure(width.error);
    if (!height.ok()) return Checked<PixelSize>::Failure(height.error);
    return Checked<PixelSize>::Of({width.value, height.value});
}
}

PipelineOptions ResolveOptions(const ImageOptions& o)
{
    PipelineOptions p;
    p.flipHorizontal = o.flipHorizontal;
    p.flipVertical = o.flipVertical;
    p.invert = o.invert;
    p.contrast = o.contrast;
    p.brightness = o.brightness;
    p.gamma = GammaOf(o.gamma);
    p.rescale = o.rescale;
    p.rescaleFilter = RescaleFilterOf(o.resizeOption);
    p.widthPercent = TextToLong(o.widthPercent);
    p.heightPercent = TextToLong(o.heightPercent);
    p.widthPixels = TextToLong(o.widthPixels);
    p.heightPixels = TextToLong(o.heightPixels);
    p.batchRunning = o.batchRunning;
    p.referenceWidth = o.referenceWidth;
    p.referenceHeight = o.referenceHeight;
    p.crop = o.crop;
    p.cropLeft = TextToLong(o.cropLeft);
    p.cropTop = TextToLong(o.cropTop);
    p.cropRight = TextToLong(o.cropRight);
    p.cropBottom = TextToLong(o.cropBottom);
    p.rotate = o.rotate;
    switch (o.rotateOption) {
    case 0: p.rotation = Checked<double>::Of(-90.0); break;
    case 1: p.rotation = Checked<double>::Of(90.0); break;
    case 2: p.rotation = Checked<double>::Of(180.0); break;
    case 3: p.rotation = Checked<double>::Of(270.0); break;
    case 4:
        p.rotation = TextToDouble(o.rotateAngle);
        break;
    default: break;
    }
    p.quality = o.quality;
    return p;
}

Checked<PixelSize> RescaleTarget(int width, int height, const PipelineOptions& options)
{
    const bool referenceSize =
        width == options.referenceWidth && height == options.referenceHeight;
    if (!options.batchRunning || referenceSize)
        return SizeOf(options.widthPixels, options.heightPixels);
    if (width == options.referenceHeight && height == options.referenceWidth)
        return SizeOf(options.heightPixels, options.widthPixels);
    // The width's percentage is taken, and its product worked out, before the height's.
    const Checked<int> w = PercentOf(options.widthPercent, width);
    if (!w.ok()) return Checked<PixelSize>::Failure(w.error);
    return SizeOf(w, PercentOf(options.heightPercent, height));
}

Checked<PixelSize> RescaleTarget(int width, int height, const ImageOptions& options)
{
    return RescaleTarget(width, height, ResolveOptions(options));
}

Checked<std::optional<double>> RotationAngleOf(const PipelineOptions& options)
{
    using Angle = Checked<std::optional<double>>;
    if (!options.rotation) return Angle::Of(std::nullopt);
    if (!options.rotation->ok()) return Angle::Failure(options.rotation->error);
    return Angle::Of(options.rotation->value);
}

Checked<std::optional<double>> RotationAngleOf(const ImageOptions& options)
{
    return RotationAngleOf(ResolveOptions(options));
}

QString OutputTypeWord(const QString& fileName)
{
    return fileName.right(3).toUpper();
}
