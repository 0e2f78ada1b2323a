#pragma once
// Whether a file can be opened in a player window. A file in which libavformat finds neither a
// picture nor a sound (random bytes, an empty file) cannot: a window for it would have nothing to
// show, so the user is told instead and no window opens. A truncated clip can: it plays what it
// holds. A missing file gives "Error!!", as the window's own file labels would. A web address is
// left to the playback engine.
#include "platform/video/ClipInfo.h"
#include "platform/ui/Outcome.h"

#include <QString>

Outcome CheckClipPlayable(const QString& path);
// The same, from what was read of the file: whether it exists, its length in bytes, and what
// libavformat found in it.
Outcome CheckClipPlayable(const QString& path, bool exists, qint64 bytes, const ClipInfo& info);
