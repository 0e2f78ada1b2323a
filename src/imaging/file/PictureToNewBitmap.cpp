#include "imaging/file/PictureToNewBitmap.h"

#include "imaging/file/FreeImageAccess.h"

#include <QImage>

ImageBitmap PictureToNewBitmap(const QImage& picture)
{
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return {};
    FreeImageAccess::EnsureInitialised();

    // Fewer than 24 bits (palettes, 1-bit, 16-bit) are widened to true colour; deeper pictures
    // (64-bit and floating-point formats) are narrowed to 32 bits, the deepest ordinary bitmap.
    const int depth = picture.depth() < 24 ? 24 : picture.depth() == 24 ? 24 : 32;
    const bool alpha = depth == 32 && picture.hasAlphaChannel();
    // Read every pixel as an unpremultiplied 0xAARRGGBB value; the bitmap's byte order comes from
    // the library's FI_RGBA_* positions, whatever the machine.
    const QImage source = picture.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (source.isNull()) return {};

    const int width = source.width();
    const int height = source.height();
    ImageBitmap bitmap = FreeImageAccess::Adopt(fi::FreeImage_Allocate(
        width, height, depth, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
    FIBITMAP* dib = FreeImageAccess::Handle(bitmap);
    if (!dib) return {};

    const int bytesPerPixel = depth / 8;
    for (int y = 0; y < height; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        // The library keeps its rows bottom-up: the picture's top row is its last scan line.
        BYTE* out = fi::FreeImage_GetScanLine(dib, height - 1 - y);
        for (int x = 0; x < width; ++x, out += bytesPerPixel) {
            const QRgb c = in[x];
            out[FI_RGBA_RED] = BYTE(qRed(c));
            out[FI_RGBA_GREEN] = BYTE(qGreen(c));
            out[FI_RGBA_BLUE] = BYTE(qBlue(c));
            if (bytesPerPixel == 4) out[FI_RGBA_ALPHA] = BYTE(alpha ? qAlpha(c) : 255);
        }
    }
    if (picture.dotsPerMeterX() > 0 && picture.dotsPerMeterY() > 0) {
        fi::FreeImage_SetDotsPerMeterX(dib, unsigned(picture.dotsPerMeterX()));
        fi::FreeImage_SetDotsPerMeterY(dib, unsigned(picture.dotsPerMeterY()));
    }
    return bitmap;
}
