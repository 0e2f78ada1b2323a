#include "capture/frmCapFrame.h"

#include "capture/CaptureSettings.h"
#include "general/General.h"
#include "platform/ui/Prompts.h"
#include "platform/ui/TwipLayout.h"
#include "text/LoadText.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>

frmCapFrame::frmCapFrame(CapWnd capwnd, QWidget* owner)
    : QDialog(owner), capwnd_(capwnd), lblFrames_(new QLabel(LoadText(561), this)),
      cmdCancel_(new QPushButton(LoadText(229), this))
{
    setObjectName("frmCapFrame");
    setWindowTitle(LoadText(200));
    auto* layout = new TwipLayout(this, QSize(DesignWidth, DesignHeight));
    auto* prompt = new QLabel(LoadText(434), this);
    prompt->setObjectName("lblPrompt");
    layout->place(prompt, 240, 180, 5400, 285);
    const QString file = capFileGetCaptureFile(capwnd_);
    auto* capFile = new QLabel(file.isEmpty() ? LoadText(436) : QDir::toNativeSeparators(file), this);
    capFile->setObjectName("lblCapFile");
    capFile->setToolTip(capFile->text());
    layout->place(capFile, 240, 500, 5400, 285);
    lblFrames_->setObjectName("lblFrames");
    layout->place(lblFrames_, 240, 960, 2400, 285);
    auto* captureButton = new QPushButton(LoadText(562), this);
    captureButton->setObjectName("Cmdcapture");
    captureButton->setDefault(true);
    layout->place(captureButton, 2400, 1380, 1500, 390);
    cmdCancel_->setObjectName("cmdCancel");
    layout->place(cmdCancel_, 4080, 1380, 1500, 390);
    resize(layout->normalPixelSize());

    connect(captureButton, &QPushButton::clicked, this, &frmCapFrame::capture);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    capCaptureSingleFrameOpen(capwnd_);
}

frmCapFrame::~frmCapFrame()
{
    // Completes the frames in the capture file.
    capCaptureSingleFrameClose(capwnd_);
}

void frmCapFrame::capture()
{
    if (capCaptureSingleFrame(capwnd_)) {
        lblFrames_->setText(general::NumText(general::Val(lblFrames_->text()) + 1) + LoadText(561));
        cmdCancel_->setText(LoadText(199));
    } else {
        Prompts::Current().MsgBox(LoadText(435), MsgButtons::OK, capture::App, MsgIcon::Information);
    }
}
