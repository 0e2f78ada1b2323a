#include "imaging/SavePictureAs.h"

#include "imaging/SavePicture.h"
#include "platform/CommonDialog.h"
#include "platform/FrameServices.h"

#include <QImage>
#include <QString>

void SavePictureAs(const QImage& picture, const QString& title)
{
    if (FrameServices* frame = FrameServices::Instance()) {
        ReportFailure(SavePictureWithDialog(picture, title, frame->openDialog(), frame->jpegQuality()));
        return;
    }
    CommonDialog dialog;
    ReportFailure(SavePictureWithDialog(picture, title, dialog, QString::number(DefaultJpegQuality)));
}
