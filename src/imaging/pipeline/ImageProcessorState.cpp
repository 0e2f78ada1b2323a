#include "imaging/pipeline/ImageProcessorState.h"

#include "general/General.h"
#include "platform/ui/Twips.h"

void ImageProcessorState::setImageSize(int width, int height)
{
    imagewidth = width;
    imageheight = height;
    imagewidthtwips = int(general::Round(width * twips::PerPixel));
    imageheighttwips = int(general::Round(height * twips::PerPixel));
}
