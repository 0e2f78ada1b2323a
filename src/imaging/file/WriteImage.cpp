#include "imaging/file/WriteImage.h"

#include "imaging/file/FreeImageAccess.h"
#include "imaging/file/SaveFormat.h"
#include "text/LoadText.h"

#include <QSaveFile>

#include <algorithm>

namespace {

// A copy of the bitmap at the depth the format's writer takes: no copy when the bitmap can be
// written as it is, failed when the conversion the format needs could not be made.
struct Prepared {
    ImageBitmap copy;
    bool failed = false;
};

Prepared Prepare(FIBITMAP* dib, SaveFormat::Preparation preparation)
{
    using P = SaveFormat::Preparation;
    const unsigned bpp = fi::FreeImage_GetBPP(dib);
    FIBITMAP* converted = nullptr;
    switch (preparation) {
    case P::None:
        return {};
    case P::Palettise:
        if (bpp <= 8) return {};
        // Wu's quantizer takes 24-bit bitmaps only.
        if (bpp == 24) {
            converted = fi::FreeImage_ColorQuantize(dib, FIQ_WUQUANT);
        } else {
            ImageBitmap trueColour = FreeImageAccess::Adopt(fi::FreeImage_ConvertTo24Bits(dib));
            if (trueColour)
                converted = fi::FreeImage_ColorQuantize(FreeImageAccess::Handle(trueColour), FIQ_WUQUANT);
        }
        break;
    case P::To24Bits:
        if (bpp == 8 || bpp == 24) return {};
        converted = fi::FreeImage_ConvertTo24Bits(dib);
        break;
    case P::To32Bits:
        converted = fi::FreeImage_ConvertTo32Bits(dib);
        break;
    case P::Greyscale:
        if (bpp == 8 && fi::FreeImage_GetColorType(dib) == FIC_MINISBLACK) return {};
        converted = fi::FreeImage_ConvertToGreyscale(dib);
        break;
    case P::Monochrome:
        if (bpp == 1) return {};
        converted = fi::FreeImage_Threshold(dib, 128);
        break;
    }
    Prepared prepared{FreeImageAccess::Adopt(converted), false};
    prepared.failed = prepared.copy.isNull();
    return prepared;
}

// The encoded file in memory; empty when the library's writer fails.
QByteArray Encode(FIBITMAP* dib, int format, int flags)
{
    FIMEMORY* memory = fi::FreeImage_OpenMemory(nullptr, 0);
    if (!memory) return {};
    QByteArray encoded;
    if (fi::FreeImage_SaveToMemory(FREE_IMAGE_FORMAT(format), dib, memory, flags)) {
        BYTE* data = nullptr;
        DWORD size = 0;
        if (fi::FreeImage_AcquireMemory(memory, &data, &size) && data && size > 0)
            encoded = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    }
    fi::FreeImage_CloseMemory(memory);
    return encoded;
}

}

EncodedImage EncodeImage(const ImageBitmap& bitmap, const QString& typeWord, int jpegQuality)
{
    EncodedImage result;
    const SaveFormat* format = FindSaveFormat(typeWord);
    if (!format) {
        result.status = EncodedImage::Status::NotSupported;
        result.detail = QStringLiteral("no image format has the type word ") + typeWord;
        return result;
    }
    FIBITMAP* dib = FreeImageAccess::Handle(bitmap);
    if (!dib) {
        result.detail = QStringLiteral("no picture");
        return result;
    }
    FreeImageAccess::EnsureInitialised();

    const Prepared prepared = Prepare(dib, format->preparation);
    if (prepared.failed) {
        result.detail = QStringLiteral("the picture cannot be converted for the format");
        return result;
    }
    FIBITMAP* toWrite = prepared.copy ? FreeImageAccess::Handle(prepared.copy) : dib;

    // The JPEG writer reads flags 0 as "its default quality" (75), so the lowest quality the
    // user can ask for is written as 1, libjpeg's own lowest.
    const int flags = format->qualityFlags ? std::clamp(jpegQuality, 1, 100) : format->flags;
    result.bytes = Encode(toWrite, format->format, flags);
    if (result.bytes.isEmpty()) {
        result.detail = QStringLiteral("the image library cannot write the picture");
        return result;
    }
    result.status = EncodedImage::Status::Encoded;
    return result;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (path.isEmpty()) return fail(QStringLiteral("no file name"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}

Outcome NotSupportedOutcome(const QString& typeWord)
{
    return Outcome::Failure(LoadText(465) + " " + typeWord + " " + LoadText(466), LoadText(463),
                            QStringLiteral("no image format has the type word ") + typeWord,
                            MsgIcon::None);
}

Outcome WriteImage(const ImageBitmap& bitmap, const QString& path, const QString& typeWord,
                   int jpegQuality)
{
    auto cannotWrite = [&path](const QString& detail) {
        return Outcome::Failure(LoadText(467) + path, LoadText(463), detail, MsgIcon::None);
    };
    if (!FindSaveFormat(typeWord)) return NotSupportedOutcome(typeWord);
    if (bitmap.isNull()) return cannotWrite(QStringLiteral("no picture"));
    if (path.isEmpty()) return cannotWrite(QStringLiteral("no file name"));

    const EncodedImage encoded = EncodeImage(bitmap, typeWord, jpegQuality);
    if (encoded.status != EncodedImage::Status::Encoded) return cannotWrite(encoded.detail);
    QString error;
    if (!WriteFileAtomically(path, encoded.bytes, &error)) return cannotWrite(error);
    return Outcome::Success();
}
