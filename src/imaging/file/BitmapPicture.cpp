#include "imaging/file/BitmapPicture.h"

#include "imaging/file/FreeImageAccess.h"

#include <cstring>

namespace {
// A 32-bit copy of any bitmap the library can convert.
ImageBitmap TrueColourCopy(FIBITMAP* dib)
{
    if (ImageBitmap copy = FreeImageAccess::Adopt(fi::FreeImage_ConvertTo32Bits(dib))) return copy;
    if (ImageBitmap standard = FreeImageAccess::Adopt(fi::FreeImage_ConvertToStandardType(dib, TRUE)))
        return FreeImageAccess::Adopt(fi::FreeImage_ConvertTo32Bits(FreeImageAccess::Handle(standard)));
    if (ImageBitmap rgb = FreeImageAccess::Adopt(fi::FreeImage_ConvertTo24Bits(dib)))
        return FreeImageAccess::Adopt(fi::FreeImage_ConvertTo32Bits(FreeImageAccess::Handle(rgb)));
    return {};
}
}

QImage BitmapToPicture(const ImageBitmap& bitmap)
{
    FIBITMAP* dib = FreeImageAccess::Handle(bitmap);
    if (!dib) return {};
    FreeImageAccess::EnsureInitialised();
    const ImageBitmap copy = TrueColourCopy(dib);
    FIBITMAP* rgba = FreeImageAccess::Handle(copy);
    if (!rgba) return {};

    const int width = int(fi::FreeImage_GetWidth(rgba));
    const int height = int(fi::FreeImage_GetHeight(rgba));
    // Only bitmaps that had an alpha channel of their own keep it; the others are opaque.
    const bool alpha = fi::FreeImage_GetBPP(dib) == 32 || fi::FreeImage_IsTransparent(dib) ||
                       fi::FreeImage_GetImageType(dib) == FIT_RGBA16 ||
                       fi::FreeImage_GetImageType(dib) == FIT_RGBAF;
    QImage picture(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (picture.isNull()) return {};
    for (int y = 0; y < height; ++y) {
        // The library keeps its rows bottom-up.
        const BYTE* in = fi::FreeImage_GetScanLine(rgba, height - 1 - y);
        QRgb* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x, in += 4)
            out[x] = qRgba(in[FI_RGBA_RED], in[FI_RGBA_GREEN], in[FI_RGBA_BLUE],
                           alpha ? in[FI_RGBA_ALPHA] : 255);
    }
    return picture;
}
