#pragma once
// Turning the intermediate WAV of an MP3 save into the MP3 with the external encoder
// ("lame --preset extreme WAV MP3", arguments as a list, never through a shell).

#include "platform/ui/Prompts.h"
#include "platform/audio/SaveFailure.h"

#include <QString>

// Runs the encoder and waits for its process to end, handling the interface's events meanwhile
// (no busy wait). Every askEveryMs of waiting it asks "Continue ...opening mp3 file" titled
// "Mp3 file saving" (Yes/No) through ask; No stops the encoder and the save fails.
//
// Success needs the encoder to end normally with exit code 0 and a non-empty MP3. A failure
// (encoder not installed, not startable, stopped, non-zero exit, no MP3) removes the MP3 the run
// wrote or truncated (an older MP3 the encoder never touched stays) and gives
// "Error in Saving file: " + mp3Path with the cause in `detail`.
// In every case the intermediate WAV is deleted, and only once the encoder has ended.
Outcome EncodeMp3(const QString& wavPath, const QString& mp3Path, const Ask& ask,
                  int askEveryMs = 10000);
