#include "recorder/RecordingDevice.h"

#include "recorder/mci/AudioMediaControl.h"
#include "platform/audio/SaveWaveHeader.h"

WaveHeaderFn KivraWaveHeader()
{
    return [](int channels, std::int32_t rate, int bits, std::int64_t frames) {
        return WaveHeaderBytes(channels, rate, bits, frames);
    };
}

void InstallRecordingDevice()
{
    if (!MediaControl::Installed())
        MediaControl::Install(std::make_unique<AudioMediaControl>(KivraWaveHeader()));
}
