#include "recorder/RecorderSettings.h"

#include "general/General.h"
#include "platform/system/Settings.h"
#include "recorder/modWave.h"

#include <algorithm>
#include <limits>

namespace {
const QString kApp = "VerevIradivez";
const QString kSection = "StartUp";

template <class Int> Int readNumber(const QString& key, const QString& fallback)
{
    const double value = general::Val(platform::GetSetting(kApp, kSection, key, fallback));
    if (!(value == value)) return 0;
    const double rounded = general::Round(std::clamp<double>(value, std::numeric_limits<Int>::min(),
                                                             std::numeric_limits<Int>::max()));
    return Int(rounded);
}
}

void ReadRecorderSettings(modWave& wave, const QString& waveFileDefault)
{
    wave.SampleRate = readNumber<std::int32_t>("Rate", "11025");
    wave.Channels = readNumber<std::int16_t>("Channels", "1");
    wave.BitsPerSample = readNumber<std::int16_t>("Resolution", "16");
    wave.WaveFileName = platform::GetSetting(kApp, kSection, "WaveFileName", waveFileDefault);
    const QString autoSave = platform::GetSetting(kApp, kSection, "WaveAutomaticSave", "True").trimmed();
    wave.AutoSave = autoSave.compare("True", Qt::CaseInsensitive) == 0 ||
                    general::Val(autoSave) != 0;
}

void WriteRecorderSettings(const modWave& wave)
{
    platform::SaveSetting(kApp, kSection, "Rate", QString::number(wave.SampleRate));
    platform::SaveSetting(kApp, kSection, "Channels", QString::number(wave.Channels));
    platform::SaveSetting(kApp, kSection, "Resolution", QString::number(wave.BitsPerSample));
    platform::SaveSetting(kApp, kSection, "WaveFileName", wave.WaveFileName);
    platform::SaveSetting(kApp, kSection, "WaveAutomaticSave", wave.AutoSave ? "True" : "False");
}
