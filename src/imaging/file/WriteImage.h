#pragma once
// Writing a bitmap as an image file of a type word's format.
#include "platform/ui/Outcome.h"

#include <QByteArray>
#include <QString>

class ImageBitmap;

// Writes the bitmap to path in the format of typeWord (see SaveFormat.h), with jpegQuality
// (0..100) as the JPEG quality. A type word no format has fails with "File type with extension ",
// the word and "is NOT supported!" (title "Save Error") and writes nothing; a write that fails
// gives "Can't Save the image to" + path. The bitmap itself is never changed:
// formats that need another depth get a converted copy. The file is encoded in memory and
// replaces path only when complete, so a failed write leaves no partial file and leaves an
// existing file at path as it was.
Outcome WriteImage(const ImageBitmap& bitmap, const QString& path, const QString& typeWord,
                   int jpegQuality);

// The two halves of WriteImage, for writers that encode in one place and write in another.
struct EncodedImage {
    enum class Status { Encoded, NotSupported, Failed };
    Status status = Status::Failed;
    QByteArray bytes;   // the whole file, when encoded
    QString detail;     // what went wrong
};
// The file's bytes in the format of typeWord, made from a copy of the depth the format takes.
EncodedImage EncodeImage(const ImageBitmap& bitmap, const QString& typeWord, int jpegQuality);
// Writes bytes to path through a temporary file in the same folder that replaces path only when
// complete. False, with the reason in error, when the file cannot be written.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// "File type with extension " + type word + " is NOT supported!", titled "Save Error".
Outcome NotSupportedOutcome(const QString& typeWord);
