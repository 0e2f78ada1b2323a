#include "recorder/RecordingDevice.h"

#include "recorder/mci/AudioMediaControl.h"

void InstallRecordingDevice()
{
    if (!MediaControl::Installed())
        MediaControl::Install(std::make_unique<AudioMediaControl>());
}
