#include "recorder/RecorderSettings.h"

#include "general/General.h"
#include "platform/system/Settings.h"
#include "recorder/RecordingNames.h"
#include "recorder/modWave.h"

#include <QDir>
#include <algorithm>
#include <limits>

namespace {
QString read(const QString& key, const QString& fallback)
{
    const QString old = platform::GetSetting(OldRecorderSettingsApp, OldRecorderSettingsSection, key, fallback);
    return platform::GetSetting(RecorderSettingsApp, RecorderSettingsSection, key, old);
}

template <class Int> Int readNumber(const QString& key, const QString& fallback)
{
    const double value = general::Val(read(key, fallback));
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
    wave.WaveFileName = read("WaveFileName", waveFileDefault);
    const QString autoSave = read("WaveAutomaticSave", "True").trimmed();
    wave.AutoSave = autoSave.compare("True", Qt::CaseInsensitive) == 0 ||
                    general::Val(autoSave) != 0;
}

void WriteRecorderSetting(const QString& key, const QString& value)
{
    platform::SaveSetting(RecorderSettingsApp, RecorderSettingsSection, key, value);
}

void WriteRecorderSettings(const modWave& wave)
{
    WriteRecorderSetting("Rate", QString::number(wave.SampleRate));
    WriteRecorderSetting("Channels", QString::number(wave.Channels));
    WriteRecorderSetting("Resolution", QString::number(wave.BitsPerSample));
    WriteRecorderSetting("WaveFileName", wave.WaveFileName);
    WriteRecorderSetting("WaveAutomaticSave", wave.AutoSave ? "True" : "False");
}

QString DefaultWaveFileName() { return QDir(MusicFolder()).filePath("audio.wav"); }
