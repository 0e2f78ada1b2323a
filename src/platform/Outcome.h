#pragma once
// The outcome of an operation that can fail, as logic code returns it: on failure, the message
// box a window shows for it (text, title, icon) and the cause in plain words for logs and tests.
// Logic never shows the box itself; windows pass the outcome to ReportFailure (Prompts.h).
#include "platform/Prompts.h"

#include <QString>

struct Outcome {
    bool ok = true;
    QString message;                  // the message box's text
    QString title;                    // the message box's title
    MsgIcon icon = MsgIcon::Critical;
    QString detail;                   // what went wrong ("cannot create the file", ...)

    static Outcome Success() { return {}; }
    static Outcome Failure(const QString& message, const QString& title, const QString& detail = {},
                           MsgIcon icon = MsgIcon::Critical)
    {
        return {false, message, title, icon, detail};
    }
};
