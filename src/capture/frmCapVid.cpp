#include "capture/frmCapVid.h"

#include "capture/CaptureSettings.h"
#include "capture/ChooseAudioFormat.h"
#include "platform/system/Process.h"
#include "platform/system/Settings.h"
#include "platform/ui/TwipLayout.h"
#include "text/LoadText.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

frmCapVid::frmCapVid(CapWnd capwnd, QWidget* owner)
    : QDialog(owner), capwnd_(capwnd), txtFps_(new QLineEdit(this)), txtSec_(new QLineEdit(this)),
      chkLimit_(new QCheckBox(LoadText(311), this)), chkAudio_(new QCheckBox(LoadText(313), this)),
      Volumecontrol_(new QPushButton(LoadText(564), this))
{
    setObjectName("frmCapVid");
    setWindowTitle(LoadText(563));
    auto* layout = new TwipLayout(this, QSize(DesignWidth, DesignHeight));
    auto* fpsLabel = new QLabel(LoadText(565), this);
    layout->place(fpsLabel, 240, 270, 2000, 285);
    txtFps_->setObjectName("txtFps");
    layout->place(txtFps_, 2300, 240, 900, 330);
    chkLimit_->setObjectName("chkLimit");
    layout->place(chkLimit_, 240, 720, 3600, 300);
    auto* secLabel = new QLabel(LoadText(312), this);
    layout->place(secLabel, 480, 1140, 1800, 285);
    txtSec_->setObjectName("txtSec");
    layout->place(txtSec_, 2300, 1110, 900, 330);
    chkAudio_->setObjectName("chkAudio");
    layout->place(chkAudio_, 240, 1590, 2400, 300);
    Volumecontrol_->setObjectName("Volumecontrol");
    Volumecontrol_->setToolTip(LoadText(446));
    layout->place(Volumecontrol_, 2900, 1545, 2100, 390);

    const int texts[] = {318, 317, 316, 314, 315};
    const QRect places[] = {{5700, 240, 1380, 390}, {5700, 720, 1380, 390}, {120, 2220, 2200, 390},
                            {2500, 2220, 2200, 390}, {4880, 2220, 2200, 390}};
    std::array<QPushButton*, 5> Command1{};
    for (int i = 0; i < 5; ++i) {
        Command1[size_t(i)] = new QPushButton(LoadText(texts[i]), this);
        Command1[size_t(i)]->setObjectName(QString("Command1_%1").arg(i));
        layout->place(Command1[size_t(i)], places[i].x(), places[i].y(), places[i].width(), places[i].height());
    }
    Command1[0]->setDefault(true);
    resize(layout->normalPixelSize());

    // Only digits can be typed in the number boxes.
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    txtFps_->setValidator(digits);
    txtSec_->setValidator(digits);

    const capture::VidcapSettings s = capture::VidcapSettings::Load();
    txtFps_->setText(s.fps);
    chkLimit_->setChecked(s.timeLimit);
    txtSec_->setText(s.seconds);
    chkAudio_->setChecked(s.captureAudio);
    Volumecontrol_->setVisible(s.captureAudio);

    connect(chkAudio_, &QCheckBox::toggled, Volumecontrol_, &QWidget::setVisible);
    connect(txtFps_, &QLineEdit::editingFinished, this,
            [this] { txtFps_->setText(capture::LimitFps(txtFps_->text())); });
    connect(Volumecontrol_, &QPushButton::clicked, this, [] { platform::StartProgram("sndvol.exe"); });
    connect(Command1[0], &QPushButton::clicked, this, &frmCapVid::confirm);
    connect(Command1[1], &QPushButton::clicked, this, &QDialog::reject);
    connect(Command1[2], &QPushButton::clicked, this, [this] { ChooseAudioFormat(this, [this] { return capwnd_; }); });
    connect(Command1[3], &QPushButton::clicked, this, [this] { capDlgVideoFormat(capwnd_); });
    connect(Command1[4], &QPushButton::clicked, this, [this] { capDlgVideoCompression(capwnd_); });
}

void frmCapVid::confirm()
{
    // The frame rate is kept in range also when OK is pressed without leaving its box.
    txtFps_->setText(capture::LimitFps(txtFps_->text()));
    const capture::CapturePreferences prefs = capture::CapturePreferences::Load();
    capCaptureSetSetup(capwnd_, capture::SequenceParameters(txtFps_->text(), chkLimit_->isChecked(),
                                                            txtSec_->text(), chkAudio_->isChecked(),
                                                            prefs.maxframes, prefs.streammaster));
    Tag = "True";
    accept();
}

void frmCapVid::unload()
{
    capture::VidcapSettings{txtFps_->text(), chkLimit_->isChecked(), txtSec_->text(),
                            chkAudio_->isChecked()}
        .save();
}
