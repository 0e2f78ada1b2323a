#pragma once
// The names a multiple-file selection returns, and folder names as the image processor joins
// them with file names.
#include <QString>
#include <QStringList>

// Splits what a multiple-selection dialog returns: the folder, then each chosen name, separated
// by NUL characters. Blanks around the whole text are trimmed, and leading blanks after each NUL.
// A text without NUL (one file chosen: its full path) gives one element.
QStringList SplitFileList(const QString& selection);

// The folder with one trailing folder separator ("/" on Linux): unchanged when it already ends
// with one. An empty folder stays empty, so that a full path in the file name still works.
QString AddBackslash(const QString& folder);
