#pragma once
// The image formats KIVRA writes: the type list of the save dialogs and the table that maps a
// type word (three upper-case letters) to the library's format and save flags.
#include <QString>
#include <QStringView>

#include <span>

// The type list of the save dialogs: eleven entries of ten characters each (type word, bar,
// pattern, bar); entry k's type word starts at character 10 * k - 9. The last entry, ALL,
// names no format.
inline constexpr char savetypefilter[] =
    "JPG|*.JPG|GIF|*.GIF|BMP|*.BMP|PNG|*.PNG|TIF|*.TIF|TGA|*.TGA|PPM|*.PPM|PGM|*.PGM|PBM|*.PBM|"
    "ICO|*.ICO|ALL|*.*";
inline constexpr int SaveTypeEntries = 11;

struct SaveFormat {
    // What the bitmap needs before the library's writer takes it.
    enum class Preparation {
        None,
        Palettise,     // 8 bits or fewer: a palettised copy (Wu's quantizer) of deeper bitmaps
        To24Bits,      // 8-bit or 24-bit only: a 24-bit copy of other depths
        To32Bits,      // always a 32-bit copy
        Greyscale,     // an 8-bit greyscale copy unless the bitmap already is one
        Monochrome,    // a 1-bit copy (threshold at the middle grey) unless it already is one
    };

    const char* typeWord;     // "GIF"
    int format;               // the library's format number (FIF_GIF = 25)
    int flags;                // the library's save flags; ignored when qualityFlags is set
    bool qualityFlags;        // the flags are the JPEG quality the caller gives
    Preparation preparation;
};

// The table, in the order type words are looked up: GIF, BMP, JPG, TIF, PNG, PGM, PPM, ICO,
// TGA, PBM.
std::span<const SaveFormat> SaveFormats();
// The format of a type word (compared without regard to case); null for a word not in the table.
const SaveFormat* FindSaveFormat(QStringView typeWord);
// The type word of entry k (1..11) of savetypefilter, upper-cased; empty outside 1..11.
QString SaveTypeWordOfEntry(int k);
