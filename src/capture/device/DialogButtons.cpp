#include "capture/device/DialogButtons.h"

#include "text/LoadText.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout* DialogButtons(QDialog* dialog)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* ok = new QPushButton(LoadText(228), dialog);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(LoadText(229), dialog);
    cancel->setObjectName("cmdCancel");
    row->addWidget(ok);
    row->addWidget(cancel);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}
