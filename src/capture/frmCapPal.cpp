#include "capture/frmCapPal.h"

#include "capture/CaptureSettings.h"
#include "general/General.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/TwipLayout.h"
#include "text/LoadText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

frmCapPal::frmCapPal(CapWnd capwnd, QWidget* owner)
    : QDialog(owner), capwnd_(capwnd), txtColors_(new QLineEdit(this)),
      lblFrames_(new QLabel(LoadText(561), this)), cmdFrame_(new QPushButton(LoadText(322), this)),
      cmdCancel_(new QPushButton(LoadText(307), this))
{
    setObjectName("frmCapPal");
    setWindowTitle(LoadText(319));
    auto* layout = new TwipLayout(this, QSize(DesignWidth, DesignHeight));
    auto* note = new QLabel(LoadText(320), this);
    note->setWordWrap(true);
    layout->place(note, 240, 120, 5400, 900);
    layout->place(new QLabel(LoadText(445), this), 240, 1200, 1000, 285);
    txtColors_->setObjectName("txtColors");
    layout->place(txtColors_, 1300, 1170, 800, 330);
    lblFrames_->setObjectName("lblFrames");
    layout->place(lblFrames_, 2300, 1200, 3400, 285);
    auto* start = new QPushButton(LoadText(323), this);
    start->setObjectName("cmdStart");
    layout->place(start, 240, 1700, 1600, 390);
    cmdFrame_->setObjectName("cmdFrame");
    layout->place(cmdFrame_, 2040, 1700, 1600, 390);
    cmdCancel_->setObjectName("cmdCancel");
    layout->place(cmdCancel_, 3840, 1700, 1600, 390);
    resize(layout->normalPixelSize());

    txtColors_->setText(capture::PaletteColours());
    txtColors_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this));
    connect(txtColors_, &QLineEdit::editingFinished, this,
            [this] { txtColors_->setText(capture::LimitColours(txtColors_->text())); });
    connect(start, &QPushButton::clicked, this, &frmCapPal::automatic);
    connect(cmdFrame_, &QPushButton::clicked, this, &frmCapPal::manualFrame);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmCapPal::finish);
}

int frmCapPal::colours() const
{
    return int(general::Val(capture::LimitColours(txtColors_->text())));
}

void frmCapPal::automatic()
{
    manual_ = false;
    lblFrames_->setText(LoadText(437));
    lblFrames_->repaint();
    cmdFrame_->setEnabled(false);
    {
        BusyPointer busy;
        capPaletteAuto(capwnd_, 100, colours());
    }
    lblFrames_->setText(LoadText(438) + " - " + "100" + LoadText(439));
    cmdFrame_->setEnabled(true);
    cmdCancel_->setText(LoadText(228));
}

void frmCapPal::manualFrame()
{
    manual_ = true;
    capPaletteManual(capwnd_, true, colours());
    ++frames_;
    lblFrames_->setText(QString::number(frames_) + LoadText(561));
    cmdCancel_->setText(LoadText(134));
}

void frmCapPal::finish()
{
    if (manual_) capPaletteManual(capwnd_, false, colours());
    // Something was captured: the colour count is kept.
    if (cmdCancel_->text() != LoadText(307)) capture::SavePaletteColours(txtColors_->text());
    accept();
}
