#pragma once
// The failure of writing a sound out (a WAV clip, a whole copy, an MP3 encoding): the message
// box "Error in Saving file: " + the file's name, titled "Save Error", with the critical icon;
// the detail says what went wrong.
#include "platform/ui/Outcome.h"

Outcome SaveFailure(const QString& fileName, const QString& detail);
