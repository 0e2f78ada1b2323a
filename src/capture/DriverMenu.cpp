#include "capture/DriverMenu.h"

#include <QAction>
#include <QMenu>

DriverMenu::DriverMenu(QMenu* menu, std::function<void(int index)> chosen)
    : menu_(menu), chosen_(std::move(chosen))
{
    QAction* none = add(0);
    none->setText("<none>");
    none->setEnabled(false);
}

QAction* DriverMenu::add(int index)
{
    if (!items_[size_t(index)]) {
        // Items follow the driver order in the menu.
        QAction* before = nullptr;
        for (int i = index + 1; i < capture::MaxDrivers && !before; ++i) before = items_[size_t(i)];
        auto* a = new QAction(menu_);
        a->setObjectName(QString("mnuDriver_%1").arg(index));
        a->setCheckable(true);
        menu_->insertAction(before, a);
        QObject::connect(a, &QAction::triggered, menu_, [this, index] { chosen_(index); });
        items_[size_t(index)] = a;
    }
    return items_[size_t(index)];
}

void DriverMenu::show(const CaptureMainSession::View& view)
{
    for (int i = 0; i < capture::MaxDrivers; ++i) {
        if (view.driverEnabled[size_t(i)]) {
            QAction* a = add(i);
            a->setText(view.driverCaption[size_t(i)]);
            a->setEnabled(true);
        }
        if (QAction* a = items_[size_t(i)]) a->setChecked(i == view.checkedDriver);
    }
}
