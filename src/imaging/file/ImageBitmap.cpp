#include "imaging/file/ImageBitmap.h"

#include "imaging/file/FreeImageAccess.h"

#include <utility>

namespace {
// Initialises the library once per process and lets it go when the program ends.
struct LibraryLifetime {
    LibraryLifetime() { fi::FreeImage_Initialise(FALSE); }
    ~LibraryLifetime() { fi::FreeImage_DeInitialise(); }
};
}

void FreeImageAccess::EnsureInitialised()
{
    static LibraryLifetime library;
}

ImageBitmap::~ImageBitmap() { reset(); }

ImageBitmap::ImageBitmap(ImageBitmap&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr))
{
}

ImageBitmap& ImageBitmap::operator=(ImageBitmap&& other) noexcept
{
    if (this != &other) {
        reset();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

void ImageBitmap::reset()
{
    if (handle_) fi::FreeImage_Unload(static_cast<FIBITMAP*>(std::exchange(handle_, nullptr)));
}

int ImageBitmap::width() const
{
    return handle_ ? int(fi::FreeImage_GetWidth(static_cast<FIBITMAP*>(handle_))) : 0;
}

int ImageBitmap::height() const
{
    return handle_ ? int(fi::FreeImage_GetHeight(static_cast<FIBITMAP*>(handle_))) : 0;
}

int ImageBitmap::bpp() const
{
    return handle_ ? int(fi::FreeImage_GetBPP(static_cast<FIBITMAP*>(handle_))) : 0;
}

QRgb ImageBitmap::pixel(int x, int y) const
{
    if (!handle_ || x < 0 || y < 0 || x >= width() || y >= height()) return 0;
    FIBITMAP* dib = static_cast<FIBITMAP*>(handle_);
    const unsigned row = unsigned(height() - 1 - y);
    if (fi::FreeImage_GetBPP(dib) <= 8) {
        BYTE index = 0;
        const RGBQUAD* palette = fi::FreeImage_GetPalette(dib);
        if (!palette || !fi::FreeImage_GetPixelIndex(dib, unsigned(x), row, &index)) return 0;
        return qRgb(palette[index].rgbRed, palette[index].rgbGreen, palette[index].rgbBlue);
    }
    RGBQUAD colour{};
    if (!fi::FreeImage_GetPixelColor(dib, unsigned(x), row, &colour)) return 0;
    const int alpha = fi::FreeImage_GetBPP(dib) == 32 ? colour.rgbReserved : 255;
    return qRgba(colour.rgbRed, colour.rgbGreen, colour.rgbBlue, alpha);
}
