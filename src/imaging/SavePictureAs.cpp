#include "imaging/SavePictureAs.h"

#include "imaging/SavePicture.h"
#include "platform/CommonDialog.h"
#include "platform/Frame.h"

#include <QImage>
#include <QString>

void SavePictureAs(const QImage& picture, const QString& title)
{
    if (FrameServices* frame = FrameServices::Instance()) {
        SavePictureWithDialog(picture, title, frame->openDialog(), frame->jpegQuality());
        return;
    }
    CommonDialog dialog;
    SavePictureWithDialog(picture, title, dialog, QString::number(DefaultJpegQuality));
}
