#pragma once
// The files this run made as scratch copies (pasted clips, MP3 decoder output). A window showing
// one deletes it when it closes, unless the user saved its audio; a file of the user's that only
// looks like one by its name ("Untitled Folder/lesson.wav", "take_.wav") is never deleted.
#include <QString>

namespace platform {

void MarkTemporary(const QString& path);
bool IsTemporary(const QString& path);
void ForgetTemporary(const QString& path);

} // namespace platform
