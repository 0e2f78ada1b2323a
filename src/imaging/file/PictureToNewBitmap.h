#pragma once
// A displayed picture as a new library bitmap, for writing to an image file.
#include "imaging/file/ImageBitmap.h"

class QImage;

// A new bitmap holding the picture's pixels at its full size, owned by the caller. Its depth is
// 24 bits when the picture has fewer than 24 bits per pixel and 32 bits (with the picture's
// alpha, opaque when it has none) when it has 32 or more; a 24-bit picture stays 24 bits.
// A null or empty picture, or one too large to allocate, gives a null bitmap.
ImageBitmap PictureToNewBitmap(const QImage& picture);
