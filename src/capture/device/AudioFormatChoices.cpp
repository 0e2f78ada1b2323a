#include "capture/device/AudioFormatChoices.h"

#include "text/LoadText.h"

#include <cstdlib>
#include <limits>

QVector<WaveFormatEx> AudioFormatChoices(const InputCapabilities& d)
{
    QVector<WaveFormatEx> out;
    const int rates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000, 96000};
    for (int rate : rates) {
        if (rate < d.minimumRate || rate > d.maximumRate) continue;
        for (int channels = 1; channels <= 2; ++channels) {
            if (channels < d.minimumChannels || channels > d.maximumChannels) continue;
            if (d.unsigned8) out << WaveFormatEx::PcmOf(rate, channels, 8);
            if (d.signed16) out << WaveFormatEx::PcmOf(rate, channels, 16);
            if (d.signed32) out << WaveFormatEx::PcmOf(rate, channels, 32);
        }
    }
    return out;
}

QString AudioFormatText(const WaveFormatEx& f)
{
    return LoadText(612)
        .arg(f.samplesPerSec)
        .arg(f.bitsPerSample)
        .arg(f.channels == 1 ? LoadText(401) : LoadText(400));
}

int NearestChoice(const QVector<WaveFormatEx>& choices, const WaveFormatEx& f)
{
    int best = -1;
    long long bestScore = std::numeric_limits<long long>::max();
    for (int i = 0; i < choices.size(); ++i) {
        const WaveFormatEx& c = choices[i];
        const long long score = std::llabs(static_cast<long long>(c.samplesPerSec) - f.samplesPerSec) * 1000 +
                                std::abs(c.channels - f.channels) * 100 +
                                std::abs(c.bitsPerSample - f.bitsPerSample);
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}
