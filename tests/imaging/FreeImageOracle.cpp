#include "FreeImageOracle.h"

#include <FreeImage.h>

#include <QFile>

namespace {
struct Library {
    Library() { FreeImage_Initialise(FALSE); }
};

// Takes a new bitmap in place of the old one.
bool Replace(FIBITMAP*& dib, FIBITMAP* next)
{
    if (!next) return false;
    FreeImage_Unload(dib);
    dib = next;
    return true;
}
}

int LibraryFilterBSpline() { return FILTER_BSPLINE; }
int LibraryFilterCatmullRom() { return FILTER_CATMULLROM; }
int LibraryFilterBox() { return FILTER_BOX; }

QImage LibraryResult(const QString& path, std::initializer_list<LibraryStep> steps)
{
    static Library library;
    const QByteArray name = QFile::encodeName(path);
    FIBITMAP* dib = FreeImage_Load(FreeImage_GetFIFFromFilename(name.constData()), name.constData(), 0);
    if (!dib) return {};
    bool ok = true;
    for (const LibraryStep& s : steps) {
        switch (s.kind) {
        case LibraryStep::Contrast: ok = FreeImage_AdjustContrast(dib, s.value); break;
        case LibraryStep::Brightness: ok = FreeImage_AdjustBrightness(dib, s.value); break;
        case LibraryStep::Gamma: ok = FreeImage_AdjustGamma(dib, s.value); break;
        case LibraryStep::FlipHorizontal: ok = FreeImage_FlipHorizontal(dib); break;
        case LibraryStep::Rescale:
            ok = Replace(dib, FreeImage_Rescale(dib, s.a, s.b, FREE_IMAGE_FILTER(s.c)));
            break;
        case LibraryStep::Copy: ok = Replace(dib, FreeImage_Copy(dib, s.a, s.b, s.c, s.d)); break;
        case LibraryStep::Rotate: ok = Replace(dib, FreeImage_Rotate(dib, s.value, nullptr)); break;
        }
        if (!ok) break;
    }
    QImage picture;
    if (FIBITMAP* rgba = ok ? FreeImage_ConvertTo32Bits(dib) : nullptr) {
        const int w = int(FreeImage_GetWidth(rgba)), h = int(FreeImage_GetHeight(rgba));
        picture = QImage(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y) {
            const BYTE* in = FreeImage_GetScanLine(rgba, h - 1 - y);
            for (int x = 0; x < w; ++x, in += 4)
                picture.setPixel(x, y, qRgba(in[FI_RGBA_RED], in[FI_RGBA_GREEN], in[FI_RGBA_BLUE],
                                             in[FI_RGBA_ALPHA]));
        }
        FreeImage_Unload(rgba);
    }
    FreeImage_Unload(dib);
    return picture;
}
