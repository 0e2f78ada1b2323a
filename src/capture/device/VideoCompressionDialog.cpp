#include "capture/device/VideoCompressionDialog.h"

#include "capture/device/DialogButtons.h"
#include "text/LoadText.h"

#include <QGridLayout>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

VideoCompressionDialog::VideoCompressionDialog(VideoCoding coding, int quality, bool havePalette,
                                               QWidget* parent)
    : QDialog(parent), mjpeg_(new QRadioButton(LoadText(240), this)),
      uncompressed_(new QRadioButton(LoadText(288), this)),
      palettised_(new QRadioButton(LoadText(289), this)), quality_(new QSpinBox(this))
{
    setObjectName("VideoCompressionDialog");
    setWindowTitle(LoadText(238));
    mjpeg_->setObjectName("optMjpeg");
    uncompressed_->setObjectName("optUncompressed");
    palettised_->setObjectName("optPalette");
    quality_->setObjectName("txtQuality");
    quality_->setRange(1, 100);
    quality_->setSuffix(" %");
    quality_->setValue(quality);
    palettised_->setEnabled(havePalette);
    (coding == VideoCoding::Mjpeg             ? mjpeg_
     : coding == VideoCoding::Palettised && havePalette ? palettised_
                                                         : uncompressed_)
        ->setChecked(true);
    quality_->setEnabled(mjpeg_->isChecked());
    connect(mjpeg_, &QRadioButton::toggled, quality_, &QSpinBox::setEnabled);

    auto* grid = new QGridLayout;
    grid->addWidget(mjpeg_, 0, 0);
    grid->addWidget(quality_, 0, 1);
    grid->addWidget(uncompressed_, 1, 0, 1, 2);
    grid->addWidget(palettised_, 2, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(DialogButtons(this));
}

VideoCoding VideoCompressionDialog::coding() const
{
    if (mjpeg_->isChecked()) return VideoCoding::Mjpeg;
    return palettised_->isChecked() ? VideoCoding::Palettised : VideoCoding::Uncompressed;
}

int VideoCompressionDialog::quality() const { return quality_->value(); }
