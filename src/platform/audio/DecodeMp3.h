#pragma once
// Turning an MP3 file into a WAV file with the external decoder.
#include "platform/ui/Prompts.h"

#include <QString>

// The WAV path the decoder writes for an MP3 file: the ".mp3" extension (any letter case)
// becomes ".wav"; when that file exists it becomes "_.wav" instead, so an existing WAV is never
// overwritten.
QString Mp3WavPath(const QString& mp3Path);

// Decodes the MP3 with "lame --decode MP3 WAV" and returns the WAV path, which the caller opens
// whether or not it exists (the WAV reader reports a missing file). An older "_.wav" output is
// deleted first; delayAfterDeleteMs is the pause the analyser's Open makes after that deletion.
// When no WAV appears, asks "Continue ...opening mp3 file" through ask; when the decoder ran
// past its time-out, its partial output is removed and a Yes waits again with a longer time-out.
QString DecodeMp3ToWav(const QString& mp3Path, const Ask& ask, int delayAfterDeleteMs = 0);
