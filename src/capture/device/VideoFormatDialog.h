#pragma once
// The camera's video format dialog: the formats the camera offers (size, pixel format, frame
// rates), the current one chosen at the start.
#include "platform/camera/CameraDriver.h"

#include <QDialog>

class QListWidget;

class VideoFormatDialog : public QDialog {
    Q_OBJECT
public:
    VideoFormatDialog(const QList<CameraDriver::Format>& formats,
                      const CameraDriver::Format& current, QWidget* parent = nullptr);
    CameraDriver::Format chosen() const;
    // "640 × 480   YUYV   5–30 fps"
    static QString Describe(const CameraDriver::Format& format);

private:
    QList<CameraDriver::Format> formats_;
    QListWidget* list_;
};
