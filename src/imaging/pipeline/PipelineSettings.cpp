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

PixelSize RescaleTarget(int width, int height, const ImageOptions& options)
{
    const bool referenceSize =
        width == options.referenceWidth && height == options.referenceHeight;
    if (!options.batchRunning || referenceSize)
        return {TextToLong(options.widthPixels), TextToLong(options.heightPixels)};
    if (width == options.referenceHeight && height == options.referenceWidth)
        return {TextToLong(options.heightPixels), TextToLong(options.widthPixels)};
    return {PercentOf(TextToLong(options.widthPercent), width),
            PercentOf(TextToLong(options.heightPercent), height)};
}

std::optional<double> RotationAngleOf(const ImageOptions& options)
{
    switch (options.rotateOption) {
    case 0: return -90.0;
    case 1: return 90.0;
    case 2: return 180.0;
    case 3: return 270.0;
    case 4: return TextToDouble(options.rotateAngle);
    default: return std::nullopt;
    }
}

QString OutputTypeWord(const QString& fileName)
{
    return fileName.right(3).toUpper();
}
