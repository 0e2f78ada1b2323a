#pragma once
// A bitmap of the image library, owned by one object and released when that object goes.
//
// The library's own types stay inside src/imaging: callers hold an ImageBitmap and ask it for its
// size, depth and pixels; the writing and processing code of this folder reaches the library
// handle through FreeImageAccess.
#include <QRgb>

class FreeImageAccess;

class ImageBitmap {
public:
    ImageBitmap() = default;
    ~ImageBitmap();
    ImageBitmap(ImageBitmap&& other) noexcept;
    ImageBitmap& operator=(ImageBitmap&& other) noexcept;
    ImageBitmap(const ImageBitmap&) = delete;
    ImageBitmap& operator=(const ImageBitmap&) = delete;

    bool isNull() const { return handle_ == nullptr; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Size in pixels and bits per pixel; 0 for a null bitmap.
    int width() const;
    int height() const;
    int bpp() const;
    // The colour at (x, y), counted from the top-left corner as a picture is seen (the library
    // keeps its rows bottom-up). Palettised bitmaps give their palette colour, bitmaps without
    // alpha an opaque colour; 0 outside the bitmap.
    QRgb pixel(int x, int y) const;

    // Releases the bitmap now.
    void reset();

private:
    friend class FreeImageAccess;
    explicit ImageBitmap(void* handle) : handle_(handle) {}

    void* handle_ = nullptr;   // the library's bitmap
};
