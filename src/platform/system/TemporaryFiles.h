#pragma once
// The files this run made as scratch copies (pasted clips, MP3 decoder output). A window showing
// one deletes it when it closes, unless the user saved its audio; a file of the user's that only
// looks like one by its name ("Untitled Folder/lesson.wav", "take_.wav") is never deleted.
#include <QString>

namespace platform {

// The folder of this run's scratch files, "kivra-<process id>" inside the temporary folder, made
// on first use: each running KIVRA keeps its scratch files apart, so another instance's
// "Untitled3.wav" is never replaced. The temporary folder itself when it cannot be made. The
// folder and what is left in it are removed when the program ends.
QString ScratchFolder();

void MarkTemporary(const QString& path);
bool IsTemporary(const QString& path);
void ForgetTemporary(const QString& path);
// Deletes a scratch file of this run when its window closes unsaved: only a file marked
// temporary whose name is a pasted clip's ("Untitled...") or a decoder output's ("..._.wav").
void DeleteScratchFile(const QString& path);

} // namespace platform
