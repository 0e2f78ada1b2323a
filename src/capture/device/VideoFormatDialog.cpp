#include "capture/device/VideoFormatDialog.h"

#include "capture/device/DialogButtons.h"
#include "text/LoadText.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <cmath>

QString VideoFormatDialog::Describe(const CameraDriver::Format& f)
{
    auto rate = [](float fps) { return QString::number(std::round(fps * 100) / 100); };
    const QString rates = f.minFps < f.maxFps && f.minFps > 0
                              ? rate(f.minFps) + QChar(0x2013) + rate(f.maxFps)
                              : rate(f.maxFps);
    return QString("%1 %2 %3   %4   %5 fps")
        .arg(f.resolution.width())
        .arg(QChar(0xD7))
        .arg(f.resolution.height())
        .arg(f.pixelFormat, rates);
}

VideoFormatDialog::VideoFormatDialog(const QList<CameraDriver::Format>& formats,
                                     const CameraDriver::Format& current, QWidget* parent)
    : QDialog(parent), formats_(formats), list_(new QListWidget(this))
{
    setObjectName("VideoFormatDialog");
    setWindowTitle(LoadText(226));
    list_->setObjectName("lstFormats");
    for (const CameraDriver::Format& f : formats_) list_->addItem(Describe(f));
    const int at = int(formats_.indexOf(current));
    list_->setCurrentRow(at >= 0 ? at : 0);
    auto* label = new QLabel(LoadText(290), this);
    label->setBuddy(list_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addLayout(DialogButtons(this));
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    resize(360, 260);
}

CameraDriver::Format VideoFormatDialog::chosen() const
{
    const int row = list_->currentRow();
    return row >= 0 && row < formats_.size() ? formats_[row] : CameraDriver::Format{};
}
