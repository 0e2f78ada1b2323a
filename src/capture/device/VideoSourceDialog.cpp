#include "capture/device/VideoSourceDialog.h"

#include "platform/camera/CameraDevices.h"
#include "platform/camera/CameraDriver.h"
#include "capture/device/DialogButtons.h"
#include "text/LoadText.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

VideoSourceDialog::VideoSourceDialog(int currentCamera, CameraDriver* driver, QWidget* parent)
    : QDialog(parent), driver_(driver), cameras_(new QComboBox(this))
{
    setObjectName("VideoSourceDialog");
    setWindowTitle(LoadText(233));
    cameras_->setObjectName("cboCamera");
    const QList<cameras::Entry> list = cameras::List();
    for (const cameras::Entry& e : list) cameras_->addItem(e.name + " " + e.version);
    cameras_->setCurrentIndex(currentCamera);

    auto* form = new QFormLayout;
    form->addRow(LoadText(239), cameras_);
    const QList<CameraDriver::Control> controls = driver_->controls();
    if (controls.isEmpty()) form->addRow(new QLabel(LoadText(604), this));
    for (const CameraDriver::Control& c : controls) {
        before_.append({c.id, c.value});
        // Sliders count in steps of the control.
        const int steps = int(std::lround((c.maximum - c.minimum) / c.step));
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QString("control_%1").arg(c.id));
        slider->setRange(0, steps);
        slider->setValue(int(std::lround((c.value - c.minimum) / c.step)));
        const int id = c.id;
        const double minimum = c.minimum, step = c.step;
        connect(slider, &QSlider::valueChanged, this,
                [this, id, minimum, step](int v) { driver_->setControl(id, minimum + v * step); });
        form->addRow(LoadText(c.nameText), slider);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(DialogButtons(this));
    resize(380, sizeHint().height());
}

int VideoSourceDialog::chosenCamera() const { return cameras_->currentIndex(); }

void VideoSourceDialog::reject()
{
    for (const auto& [id, value] : before_) driver_->setControl(id, value);
    QDialog::reject();
}
