#pragma once
// The cameras the capture window can connect: those Qt Multimedia lists, in its order, then the
// built-in test-pattern camera when the environment variable KIVRA_VIRTUAL_DEVICES is "1"; at
// most 9 in all.
#include "platform/camera/CameraDriver.h"

#include <QList>
#include <QString>
#include <memory>

namespace cameras {

inline constexpr int MaxCameras = 9;

struct Entry {
    QString name;      // the camera's description
    QString version;   // the device it is ("/dev/video0"), or the test pattern's version
};

QList<Entry> List();
// The driver of camera `index` of List(), or null when there is no such camera.
std::unique_ptr<CameraDriver> Open(int index);
// True when the test-pattern camera is listed.
bool VirtualCameraListed();

} // namespace cameras
