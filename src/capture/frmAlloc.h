#pragma once
// The capture file's size ("Set File Size"): the space to set aside on disk for the capture file,
// kept within the free space. Shown modeless.
#include "capture/mVFW.h"

#include <QDialog>

class QLabel;
class QLineEdit;

class frmAlloc : public QDialog {
    Q_OBJECT
public:
    frmAlloc(CapWnd capwnd, QWidget* owner);

    static constexpr int DesignWidth = 5880;
    static constexpr int DesignHeight = 2100;

private:
    void changed();
    void confirm();

    CapWnd capwnd_;
    QLineEdit* txtAlloc_;
    QLabel* lblFreeDisk_;
};
