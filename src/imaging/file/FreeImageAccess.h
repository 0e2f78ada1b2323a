#pragma once
// The one door to the image library, for the .cpp files of src/imaging only: no other header
// includes this one, so the library's types never reach the windows or the other subsystems.
#include "imaging/file/ImageBitmap.h"

#include "platform/system/LazyLibrary.h"

#include <FreeImage.h>

// The library is loaded the first time one of its functions is called (see LazyLibrary.h), so
// its calls are written fi::FreeImage_Name(...).
inline LazyLibrary kLibFreeImage{KIVRA_SONAME_FREEIMAGE};
namespace fi {
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_AcquireMemory)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_AdjustBrightness)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_AdjustContrast)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_AdjustGamma)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_Allocate)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_AllocateT)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_CloseMemory)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_ColorQuantize)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_ConvertTo24Bits)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_ConvertTo32Bits)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_ConvertToGreyscale)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_ConvertToStandardType)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_Copy)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_DeInitialise)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_FlipHorizontal)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_FlipVertical)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetBPP)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetBlueMask)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetChannel)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetColorType)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetColorsUsed)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetDotsPerMeterX)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetDotsPerMeterY)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetFIFFromFilename)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetFileType)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetGreenMask)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetHeight)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetImageType)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetLine)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetPalette)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetPixelColor)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetPixelIndex)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetRedMask)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetScanLine)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetTransparencyCount)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetTransparencyTable)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_GetWidth)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_HasPixels)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_Initialise)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_Invert)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_IsTransparent)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_Load)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_OpenMemory)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_Rescale)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_Rotate)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_SaveToMemory)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_SetChannel)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_SetDotsPerMeterX)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_SetDotsPerMeterY)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_SetOutputMessage)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_SetTransparencyTable)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_Threshold)
KIVRA_LAZY_SYMBOL(kLibFreeImage, FreeImage_Unload)
} // namespace fi

class FreeImageAccess {
public:
    // Initialises the library the first time it is called; every call into the library from
    // this folder goes through here first.
    static void EnsureInitialised();

    // The library handle of a bitmap (null for a null bitmap); the bitmap keeps ownership.
    static FIBITMAP* Handle(const ImageBitmap& bitmap)
    {
        return static_cast<FIBITMAP*>(bitmap.handle_);
    }
    // Takes ownership of a handle the library returned (null gives a null bitmap).
    static ImageBitmap Adopt(FIBITMAP* dib) { return ImageBitmap(dib); }
};
