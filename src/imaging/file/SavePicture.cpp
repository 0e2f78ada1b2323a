#include "imaging/file/SavePicture.h"

#include "general/General.h"
#include "imaging/file/ImageBitmap.h"
#include "imaging/file/PictureToNewBitmap.h"
#include "imaging/file/SaveFormat.h"
#include "imaging/file/SaveTarget.h"
#include "imaging/file/WriteImage.h"
#include "platform/ui/CommonDialog.h"
#include "text/LoadText.h"

#include <QImage>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <exception>

int JpegQualityOf(const QString& tag)
{
    // What the lenient parse reads as a number: optional sign, then a digit or a point and a
    // digit, or a hexadecimal/octal "&H"/"&O" prefix.
    static const QRegularExpression number(QStringLiteral(R"(^\s*(?:[+-]?\s*\.?\d|&[HhOo]))"));
    if (!number.match(tag).hasMatch()) return DefaultJpegQuality;
    const double value = general::Val(tag);
    if (std::isnan(value)) return DefaultJpegQuality;
    return int(std::clamp(general::Round(value), 0.0, 100.0));
}

Outcome SavePictureWithDialog(const QImage& picture, const QString& title, CommonDialog& dialog,
                              const QString& jpegQualityTag)
{
    dialog.Flags = SavePictureDialogFlags;
    dialog.DialogTitle = title;
    dialog.CancelError = false;

    const ImageBitmap bitmap = PictureToNewBitmap(picture);
    if (!bitmap)
        return Outcome::Failure(LoadText(462), LoadText(463), QStringLiteral("no picture"),
                                MsgIcon::None);

    dialog.DefaultExt = ".JPG";
    dialog.Filter = QString::fromLatin1(savetypefilter);
    dialog.FilterIndex = 0;
    // A cancelled dialog keeps the last name it held, so the answer decides, not FileTitle.
    if (!dialog.ShowSave() || dialog.FileTitle.isEmpty()) return Outcome::Success();

    const int quality = JpegQualityOf(jpegQualityTag);
    const SaveTarget target = SaveTargetOf(dialog.FilterIndex, dialog.FileName);
    return WriteImage(bitmap, target.path, target.typeWord, quality);
}
