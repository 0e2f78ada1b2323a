#pragma once
// The sound formats a recording device can take, as the sound format chooser lists them: PCM at
// the usual rates within the device's range, mono and stereo as it allows, 8, 16 and 32 bits as
// it supports them.
#include "platform/audio/WaveFormatEx.h"

#include <QString>
#include <QVector>

struct InputCapabilities {
    int minimumRate = 0;
    int maximumRate = 0;
    int minimumChannels = 0;
    int maximumChannels = 0;
    bool unsigned8 = false;
    bool signed16 = false;
    bool signed32 = false;
};

// Ordered by rate, then channels, then bits.
QVector<WaveFormatEx> AudioFormatChoices(const InputCapabilities& device);
// "44100 Hz, 16 bit, Mono" (in the interface language).
QString AudioFormatText(const WaveFormatEx& format);
// The choice equal to the format, else the nearest (rate first, then channels, then bits);
// -1 for no choices.
int NearestChoice(const QVector<WaveFormatEx>& choices, const WaveFormatEx& format);
