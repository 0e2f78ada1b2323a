#pragma once
// A library bitmap as bytes and back, to hand a result from the image worker process to the
// program: its type, size, depth, colour masks, palette, transparency table, resolution and
// pixel rows. Metadata (EXIF, ICC profiles) is not carried.
#include <QByteArray>

class ImageBitmap;

QByteArray PackBitmap(const ImageBitmap& bitmap);
// The bitmap the bytes describe; a null bitmap for bytes that are empty, inconsistent or too
// short, or a bitmap that cannot be allocated.
ImageBitmap UnpackBitmap(const QByteArray& bytes);
