#pragma once
// The camera's video source dialog: which camera to capture from, and the adjustable controls
// the connected camera exposes, which act at once and are set back on Cancel.
#include <QDialog>
#include <QList>

class CameraDriver;
class QComboBox;

class VideoSourceDialog : public QDialog {
    Q_OBJECT
public:
    VideoSourceDialog(int currentCamera, CameraDriver* driver, QWidget* parent = nullptr);
    int chosenCamera() const;

    void reject() override;

private:
    CameraDriver* driver_;
    QComboBox* cameras_;
    QList<QPair<int, double>> before_;   // control id and value when the dialog opened
};
