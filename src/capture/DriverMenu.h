#pragma once
// The driver items at the end of the capture main window's Video menu: item 0 always (disabled
// "<none>" until a driver answers as 0), items 1..8 made for the drivers that answer, in driver
// order, the connected one checked.
#include "capture/CaptureMainSession.h"

#include <array>
#include <functional>

class QAction;
class QMenu;

class DriverMenu {
public:
    // Adds item 0 to the menu; chosen(index) runs when an item is chosen.
    DriverMenu(QMenu* menu, std::function<void(int index)> chosen);

    // Item i (0..8); null for a driver that has none.
    QAction* item(int index) const { return items_.at(size_t(index)); }
    // The captions, enabled items and check mark of the view.
    void show(const CaptureMainSession::View& view);

private:
    QAction* add(int index);

    QMenu* menu_;
    std::function<void(int)> chosen_;
    std::array<QAction*, capture::MaxDrivers> items_{};
};
