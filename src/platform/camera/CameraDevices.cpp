#include "platform/camera/CameraDevices.h"

#include "platform/camera/QtCameraDriver.h"
#include "platform/camera/TestPatternCamera.h"
#include "text/LoadText.h"

#include <QMediaDevices>

namespace cameras {
namespace {
QList<QCameraDevice> RealCameras()
{
    QList<QCameraDevice> list = QMediaDevices::videoInputs();
    const int room = MaxCameras - (VirtualCameraListed() ? 1 : 0);
    if (list.size() > room) list.resize(room);
    return list;
}
}

bool VirtualCameraListed() { return qEnvironmentVariable("KIVRA_VIRTUAL_DEVICES") == "1"; }

QList<Entry> List()
{
    QList<Entry> out;
    for (const QCameraDevice& d : RealCameras())
        out << Entry{d.description(), QString::fromUtf8(d.id())};
    if (VirtualCameraListed()) out << Entry{LoadText(635), "1.0"};
    return out;
}

std::unique_ptr<CameraDriver> Open(int index)
{
    const QList<QCameraDevice> real = RealCameras();
    if (index >= 0 && index < real.size()) return std::make_unique<QtCameraDriver>(real[index]);
    if (VirtualCameraListed() && index == real.size()) return std::make_unique<TestPatternCamera>();
    return nullptr;
}

} // namespace cameras
