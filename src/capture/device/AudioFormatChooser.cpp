#include "capture/device/AudioFormatChooser.h"

#include "capture/device/AudioFormatChoices.h"
#include "capture/device/DialogButtons.h"
#include "text/LoadText.h"

#include <QAudioDevice>
#include <QComboBox>
#include <QFormLayout>
#include <QMediaDevices>
#include <QVBoxLayout>

AudioFormatChooser::AudioFormatChooser(const QVector<WaveFormatEx>& choices,
                                       const WaveFormatEx& current, QWidget* parent)
    : QDialog(parent), choices_(choices), attributes_(new QComboBox(this))
{
    setObjectName("AudioFormatChooser");
    setWindowTitle(LoadText(213));
    auto* format = new QComboBox(this);
    format->setObjectName("cboFormat");
    format->addItem("PCM");
    attributes_->setObjectName("cboAttributes");
    for (const WaveFormatEx& f : choices_)
        attributes_->addItem(AudioFormatText(f) + QString("   %1 KB/s").arg(f.avgBytesPerSec / 1024));
    attributes_->setCurrentIndex(NearestChoice(choices_, current));
    auto* form = new QFormLayout;
    form->addRow(LoadText(290), format);
    form->addRow(LoadText(321), attributes_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(DialogButtons(this));
    resize(380, sizeHint().height());
}

WaveFormatEx AudioFormatChooser::chosen() const
{
    const int i = attributes_->currentIndex();
    return i >= 0 && i < choices_.size() ? choices_[i] : WaveFormatEx{};
}

QVector<WaveFormatEx> AudioFormatChooser::DeviceChoices()
{
    const QAudioDevice input = QMediaDevices::defaultAudioInput();
    if (input.isNull()) return {};
    InputCapabilities caps;
    caps.minimumRate = input.minimumSampleRate();
    caps.maximumRate = input.maximumSampleRate();
    caps.minimumChannels = input.minimumChannelCount();
    caps.maximumChannels = input.maximumChannelCount();
    const QList<QAudioFormat::SampleFormat> formats = input.supportedSampleFormats();
    caps.unsigned8 = formats.contains(QAudioFormat::UInt8);
    caps.signed16 = formats.contains(QAudioFormat::Int16);
    caps.signed32 = formats.contains(QAudioFormat::Int32);
    return AudioFormatChoices(caps);
}

std::optional<WaveFormatEx> AudioFormatChooser::Choose(QWidget* owner,
                                                       const QVector<WaveFormatEx>& choices,
                                                       const WaveFormatEx& current)
{
    AudioFormatChooser dialog(choices, current, owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosen();
}
