#pragma once
// The about window's texts: the version label and the report on the computer, one line each.
#include "platform/ui/Outcome.h"

#include <QString>
#include <QStringList>

struct SystemInfo;

// "Window version " + major + "." + minor + " for Linux".
QString VersionLabel(int major, int minor);

struct AboutReport {
    QStringList lines;
    Outcome outcome;   // "Error Getting Version Information" when the system's version is unknown

    // The system (distribution, kernel name, its major.minor and full release as the build),
    // "CPU: " + the processor, then total and available physical memory and total and available
    // virtual memory (physical + swap), in kilobytes with thousands separators and "K".
    static AboutReport Of(const SystemInfo& info);
};
