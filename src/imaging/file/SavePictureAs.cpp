#include "imaging/file/SavePictureAs.h"

#include "imaging/file/SavePicture.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/FrameServices.h"
#include "platform/ui/Prompts.h"

#include <QImage>
#include <QString>

void SavePictureAs(const QImage& picture, const QString& title)
{
    const FrameServices* frame = FrameServices::Instance();
    ReportFailure(SavePictureWithDialog(picture, title, FrameServices::Dialog(),
                                        frame ? frame->jpegQuality() : QString::number(DefaultJpegQuality)));
}
