#pragma once
// The one door to the image library, for the .cpp files of src/imaging only: no other header
// includes this one, so the library's types never reach the windows or the other subsystems.
#include "imaging/file/ImageBitmap.h"

#include <FreeImage.h>

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
