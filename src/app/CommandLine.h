#pragma once
// What KIVRA's command line asks for: help or the version on the terminal, or the frame with a
// file to open.
#include <QString>
#include <QStringList>

struct CommandLine {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    // The file to open: every other argument, joined with single spaces, because a path with
    // spaces may arrive in pieces. Empty when there is none.
    QString file;
};

// Reads the arguments (without the program's name). "-h"/"--help" and "-v"/"--version" are
// recognised anywhere before "--"; the first of them wins. What follows "--" is always part of
// the file, so a file named "-v" can still be opened.
CommandLine ParseCommandLine(const QStringList& arguments);

// The texts printed on the terminal for --help and --version.
QString HelpText(const QString& program);
QString VersionText(const QString& program, const QString& version);
