#include "capture/frmAlloc.h"

#include "capture/FileSpace.h"
#include "platform/ui/TwipLayout.h"
#include "text/LoadText.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

frmAlloc::frmAlloc(CapWnd capwnd, QWidget* owner)
    : QDialog(owner), capwnd_(capwnd), txtAlloc_(new QLineEdit(this)), lblFreeDisk_(new QLabel(this))
{
    setObjectName("frmAlloc");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(LoadText(440));
    auto* layout = new TwipLayout(this, QSize(DesignWidth, DesignHeight));
    auto* note = new QLabel(LoadText(443), this);
    note->setWordWrap(true);
    layout->place(note, 240, 120, 5400, 660);
    layout->place(new QLabel(LoadText(441), this), 240, 990, 2200, 285);
    txtAlloc_->setObjectName("txtAlloc");
    layout->place(txtAlloc_, 2500, 960, 1200, 330);
    layout->place(new QLabel(LoadText(442), this), 240, 1470, 2200, 285);
    lblFreeDisk_->setObjectName("lblFreeDisk");
    layout->place(lblFreeDisk_, 2500, 1470, 1200, 285);
    auto* ok = new QPushButton(LoadText(318), this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    layout->place(ok, 4200, 930, 1440, 390);
    auto* cancel = new QPushButton(LoadText(317), this);
    cancel->setObjectName("cmdCancel");
    layout->place(cancel, 4200, 1410, 1440, 390);
    resize(layout->normalPixelSize());

    const QString file = capFileGetCaptureFile(capwnd_);
    const QFileInfo info(file);
    lblFreeDisk_->setText(capture::FreeDiskMegabytes(file.isEmpty() ? QString(".") : file));
    txtAlloc_->setText(capture::InitialAllocation(info.exists() ? info.size() : -1));
    txtAlloc_->selectAll();
    txtAlloc_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9.]*"), this));
    connect(txtAlloc_, &QLineEdit::textChanged, this, &frmAlloc::changed);
    connect(ok, &QPushButton::clicked, this, &frmAlloc::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

void frmAlloc::changed()
{
    const QString limited = capture::LimitAllocation(txtAlloc_->text(), lblFreeDisk_->text());
    if (limited != txtAlloc_->text()) txtAlloc_->setText(limited);
}

void frmAlloc::confirm()
{
    capFileAlloc(capwnd_, capture::AllocationBytes(txtAlloc_->text()));
    close();
}
