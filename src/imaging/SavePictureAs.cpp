#include "imaging/SavePictureAs.h"

#include "imaging/SavePicture.h"
#include "platform/CommonDialog.h"
#include "platform/FrameServices.h"

#include <QImage>
#include <QString>

void SavePictureAs(const QImage& picture, const QString& title)
{
    const FrameServices* frame = FrameServices::Instance();
    ReportFailure(SavePictureWithDialog(picture, title, FrameServices::Dialog(),
                                        frame ? frame->jpegQuality() : QString::number(DefaultJpegQuality)));
}
