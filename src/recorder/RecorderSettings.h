#pragma once
// The recorder's five settings in KIVRA's settings store (application "KIVRA", section
// "recorder"): "Rate", "Channels", "Resolution", "WaveFileName" and "WaveAutomaticSave". A value
// the store does not hold yet is read from the store of earlier versions (application
// "VerevIradivez", section "StartUp"), so a teacher's choices survive the move.
#include <QString>

class modWave;

inline const QString RecorderSettingsApp = QStringLiteral("KIVRA");
inline const QString RecorderSettingsSection = QStringLiteral("recorder");
inline const QString OldRecorderSettingsApp = QStringLiteral("VerevIradivez");
inline const QString OldRecorderSettingsSection = QStringLiteral("StartUp");

// Reads the five settings into the engine's state. waveFileDefault: the automatic-save name
// used when none is stored. Numbers are read leniently (Val); a "WaveAutomaticSave" of "True"
// (any case) or a non-zero number is on.
void ReadRecorderSettings(modWave& wave, const QString& waveFileDefault);
// Writes them: numbers in decimal, the automatic saving as "True" or "False".
void WriteRecorderSettings(const modWave& wave);
// Writes one of them, as the user chooses it.
void WriteRecorderSetting(const QString& key, const QString& value);

// The default of "WaveFileName": "audio.wav" in the user's music folder.
QString DefaultWaveFileName();
