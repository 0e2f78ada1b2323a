#pragma once
// The recorder's five settings in the settings store (application "VerevIradivez", section
// "StartUp"): "Rate", "Channels", "Resolution", "WaveFileName" and "WaveAutomaticSave".
#include <QString>

class modWave;

// Reads the five settings into the engine's state. waveFileDefault: the automatic-save name
// used when none is stored. Numbers are read leniently (Val); a "WaveAutomaticSave" of "True"
// (any case) or a non-zero number is on.
void ReadRecorderSettings(modWave& wave, const QString& waveFileDefault);
// Writes them: numbers in decimal, the automatic saving as "True" or "False".
void WriteRecorderSettings(const modWave& wave);

// The defaults of "WaveFileName": at load, and on Reset and Setting.
inline const QString LoadWaveFileDefault = QStringLiteral("C:\\Audio.wav");
inline const QString ResetWaveFileDefault = QStringLiteral("C:\\audio.wav");
