#pragma once
// The clip a new capture would replace. Sequence capture, time-interval capture and manual frame
// capture all start their clip at the beginning of the capture file, so a clip the file holds
// from an earlier capture (of this run or another) is lost unless the user keeps it first.
#include <QString>
#include <cstdint>
#include <optional>

namespace capture {

struct EarlierClip {
    std::int64_t frames = 0;
    double seconds = 0;   // its playing time; 0 when the file does not tell
};

// The clip in the capture file `path` that a capture starting now would overwrite: none for a
// missing file, a file of reserved space only, a clip without frames or a file that is not a
// video; none either when `appending` (the single frames of an open capture go on after those
// already in the file, as a time-interval capture started again does).
std::optional<EarlierClip> ClipToReplace(const QString& path, bool appending);

// The question before it is replaced, asked with Yes (keep it: save it under another name
// first), No (replace it) and Cancel (capture nothing).
QString ReplaceClipQuestion(const QString& path, const EarlierClip& clip);

} // namespace capture
