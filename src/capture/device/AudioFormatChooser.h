#pragma once
// The sound format chooser, titled "Select Sound Format": the PCM formats the default recording
// device can take, starting from a given one. The one adapter over the system's sound format
// choice.
#include "platform/audio/WaveFormatEx.h"

#include <QDialog>
#include <QVector>
#include <optional>

class QComboBox;

class AudioFormatChooser : public QDialog {
    Q_OBJECT
public:
    AudioFormatChooser(const QVector<WaveFormatEx>& choices, const WaveFormatEx& current,
                       QWidget* parent = nullptr);
    WaveFormatEx chosen() const;

    // The formats the default recording device can take; empty when there is no such device.
    static QVector<WaveFormatEx> DeviceChoices();
    // Shows the chooser owned by `owner`; the chosen format, or nothing on Cancel.
    static std::optional<WaveFormatEx> Choose(QWidget* owner, const QVector<WaveFormatEx>& choices,
                                              const WaveFormatEx& current);

private:
    QVector<WaveFormatEx> choices_;
    QComboBox* attributes_;
};
