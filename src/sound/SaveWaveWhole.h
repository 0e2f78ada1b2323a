#pragma once
// "Audio Save - Whole": the sound file copied byte for byte to the chosen WAV name (the channel
// choice does not apply).

#include "platform/audio/SaveFailure.h"

#include <QString>

// Copies `source` to `target`, replacing an older file of that name only once the copy is
// complete (written under a temporary name in the target's folder, then renamed). Saving a sound
// onto its own name leaves it as it is and succeeds. A failure (the source unreadable, the
// target's folder not writable, a short write) leaves no partial target and gives
// "Error in Saving file: " + target.
Outcome SaveWaveWhole(const QString& source, const QString& target);
