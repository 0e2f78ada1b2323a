#pragma once
// The sequence capture settings ("Grab Video Sequence"): frame rate, time limit and sound; OK
// sends the capture parameters to the capture window and marks the dialog confirmed (Tag), and
// the capture main window then captures. unload() is the dialog's closing: it stores the boxes.
#include "capture/mVFW.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

class frmCapVid : public QDialog {
    Q_OBJECT
public:
    frmCapVid(CapWnd capwnd, QWidget* owner);

    // "True" once OK was pressed.
    QString Tag;
    // Writes the four "vidcap settings" from the controls.
    void unload();

    static constexpr int DesignWidth = 7200;
    static constexpr int DesignHeight = 2800;

private:
    void confirm();

    CapWnd capwnd_;
    QLineEdit* txtFps_;
    QLineEdit* txtSec_;
    QCheckBox* chkLimit_;
    QCheckBox* chkAudio_;
    QPushButton* Volumecontrol_;
};
