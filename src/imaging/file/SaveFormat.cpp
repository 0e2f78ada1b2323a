#include "imaging/file/SaveFormat.h"

#include <FreeImage.h>

#include <array>

namespace {
using P = SaveFormat::Preparation;

// The preparations beyond the plain table: the library refuses to write a GIF deeper than
// 8 bits and a JPEG or PPM of 32 bits, and writes whatever depth it is given into a PGM or PBM
// file (a 24-bit bitmap saved as PGM comes out as colour PPM data), so each of those formats
// gets a copy of the depth its files hold.
//
// PNG files are compressed at zlib's level 4 instead of its default 6: photos take a quarter of
// the time to write, and their files come out about as small (a 960 x 540 photo: 611 kB at 4,
// 625 kB at 6; level 1 gives 732 kB). The pixels are the same at every level.
constexpr int kPngZlibLevel = 4;

const std::array<SaveFormat, 10> kFormats{{
    {"GIF", FIF_GIF, 0, false, P::Palettise},
    {"BMP", FIF_BMP, BMP_SAVE_RLE, false, P::None},
    {"JPG", FIF_JPEG, 0, true, P::To24Bits},
    {"TIF", FIF_TIFF, 0, false, P::None},
    {"PNG", FIF_PNG, kPngZlibLevel, false, P::None},
    {"PGM", FIF_PGM, 0, false, P::Greyscale},
    {"PPM", FIF_PPM, 0, false, P::To24Bits},
    {"ICO", FIF_ICO, 0, false, P::None},
    {"TGA", FIF_TARGA, 0, false, P::To32Bits},
    {"PBM", FIF_PBM, 0, false, P::Monochrome},
}};

// The published numbers the table stands for.
static_assert(FIF_GIF == 25 && FIF_BMP == 0 && FIF_JPEG == 2 && FIF_TIFF == 18 && FIF_PNG == 13 &&
              FIF_PGM == 11 && FIF_PPM == 14 && FIF_ICO == 1 && FIF_TARGA == 17 && FIF_PBM == 7);
static_assert(BMP_SAVE_RLE == 1);
// The library's PNG writer reads the zlib level from the flags' low four bits (1..9).
static_assert(PNG_Z_BEST_SPEED == 1 && PNG_Z_DEFAULT_COMPRESSION == 6 && PNG_Z_BEST_COMPRESSION == 9);
}

std::span<const SaveFormat> SaveFormats() { return kFormats; }

const SaveFormat* FindSaveFormat(QStringView typeWord)
{
    for (const SaveFormat& format : kFormats)
        if (typeWord.compare(QLatin1String(format.typeWord), Qt::CaseInsensitive) == 0)
            return &format;
    return nullptr;
}

QString SaveTypeWordOfEntry(int k)
{
    if (k < 1 || k > SaveTypeEntries) return QString();
    return QString::fromLatin1(savetypefilter).mid(10 * k - 10, 3).toUpper();
}
