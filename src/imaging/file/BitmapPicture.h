#pragma once
// A library bitmap as a picture a window can show, at the bitmap's own size.
#include <QImage>

class ImageBitmap;

// The bitmap's pixels as a 32-bit picture (top row first, alpha kept where the bitmap has it);
// palettised, 16-bit and high-dynamic-range bitmaps are converted to true colour first. A null
// bitmap, or one the library cannot convert, gives a null picture.
QImage BitmapToPicture(const ImageBitmap& bitmap);
