#pragma once
// The busy pointer for the life of a scope, restored on every path out of it. Message boxes and
// dialogs shown meanwhile put the ordinary pointer over themselves (QtPrompts).
#include <QApplication>

class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};
