#pragma once
// Processes and the external programs KIVRA starts. Programs are named as the windows know them
// ("sndvol.exe", "lame.exe", ...); a table maps each to the Linux programs that do the same job,
// looked up on PATH in order. Arguments always travel as a list, never through a shell.
#include <QString>
#include <QStringList>

namespace platform {

// The Linux program standing in for a named external program, as a full path; empty when none
// is installed. A name not in the table is looked up on PATH as it is (without ".exe").
QString ExternalProgram(const QString& name);

// Starts a program without waiting for it. False (and nothing shown) when it cannot be started.
bool StartProgram(const QString& name, const QStringList& arguments = {});

// The name KIVRA gives the system's video capture program.
inline const QString VideoCaptureProgram = QStringLiteral("vidcap.exe");

} // namespace platform
