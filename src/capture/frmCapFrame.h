#pragma once
// Manual frame capture: each press of Capture appends the camera's next picture to the capture
// file; closing the window completes the file.
#include "capture/mVFW.h"

#include <QDialog>

class QLabel;
class QPushButton;

class frmCapFrame : public QDialog {
    Q_OBJECT
public:
    frmCapFrame(CapWnd capwnd, QWidget* owner);
    ~frmCapFrame() override;

    static constexpr int DesignWidth = 5880;
    static constexpr int DesignHeight = 1950;

private:
    void capture();

    CapWnd capwnd_;
    QLabel* lblFrames_;
    QPushButton* cmdCancel_;
};
