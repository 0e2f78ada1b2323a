#pragma once
// The capture palette: built automatically from 100 frames of the camera (Start), or from frames
// the user picks (Frame, then Close); the colour count is kept for next time once a palette was
// made.
#include "capture/mVFW.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class frmCapPal : public QDialog {
    Q_OBJECT
public:
    frmCapPal(CapWnd capwnd, QWidget* owner);

    static constexpr int DesignWidth = 5880;
    static constexpr int DesignHeight = 2300;

private:
    int colours() const;
    void automatic();
    void manualFrame();
    void finish();

    CapWnd capwnd_;
    QLineEdit* txtColors_;
    QLabel* lblFrames_;
    QPushButton* cmdFrame_;
    QPushButton* cmdCancel_;
    bool manual_ = false;
    int frames_ = 0;
};
