#pragma once
// Saving a displayed picture as an image file chosen in a save dialog: the steps behind
// SavePictureAs, with the dialog and the JPEG quality handed in so they run without a frame.
#include "platform/ui/Outcome.h"

#include <QString>

class CommonDialog;
class QImage;

// Flags the save dialog is shown with: explorer style, and asking before an existing file is
// replaced (the dialog may come up holding the name of the last file opened, so pressing Enter
// must not silently write an image over it).
inline constexpr long SavePictureDialogFlags = 524288 | 2;

// Asks for a file name and type in dialog (titled title) and writes the picture there. Fails
// with "No image selected for saving!" for a null or empty picture (no dialog is shown), or with
// WriteImage's failure. A cancelled dialog is a quiet success. jpegQualityTag is the text of the
// frame's JPEG quality setting.
Outcome SavePictureWithDialog(const QImage& picture, const QString& title, CommonDialog& dialog,
                              const QString& jpegQualityTag);

// The JPEG quality of a quality setting's text: its leading number, rounded and kept within
// 0..100. A text that does not start with a number ("", "abc") gives the default 85 rather
// than the 0 of a lenient parse, which would write the worst possible JPEG.
int JpegQualityOf(const QString& tag);
inline constexpr int DefaultJpegQuality = 85;
