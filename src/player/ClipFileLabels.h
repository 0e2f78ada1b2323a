#pragma once
// What the player window shows about its clip's file: the caption, the date label and the size
// label.
#include "platform/ui/Outcome.h"

#include <QDateTime>
#include <QString>

struct ClipFileLabels {
    QString caption;   // the path, shortened when long
    QString date;      // the file's date and time, in the general date text
    QString size;      // "(" + kilobytes + " kB)"
    Outcome outcome;   // "Error!!" when the file cannot be read (caption still set)

    // Reads the file's date and length. Never throws.
    static ClipFileLabels Read(const QString& path);
};

// The window caption for a path: the path itself up to 55 characters, else its first 25
// characters, " ... " and its last 25.
QString ClipCaption(const QString& path);
// "(" + bytes / 1024 rounded half to even + " kB)": 1536 and 2560 bytes both read "(2 kB)".
QString ClipSizeText(qint64 bytes);
