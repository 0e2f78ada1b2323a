#pragma once
// The outcome of an operation, as logic code returns it: on failure, or when the operation has
// something to tell (a batch's report), the message box a window shows for it (text, title, icon)
// and the cause in plain words for logs and tests. Logic never shows the box itself; windows pass
// the outcome to Report or ReportFailure (Prompts.h).
#include <QString>

enum class MsgButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct Outcome {
    enum class Kind {
        Success,        // nothing to show
        Failure,        // the operation failed: ok is false
        Information,    // the operation went through and has a message to show
    };
    bool ok = true;
    QString message;                  // the message box's text
    QString title;                    // the message box's title
    MsgIcon icon = MsgIcon::Critical;
    QString detail;                   // what went wrong ("cannot create the file", ...)
    Kind kind = Kind::Success;

    static Outcome Success() { return {}; }
    static Outcome Failure(const QString& message, const QString& title, const QString& detail = {},
                           MsgIcon icon = MsgIcon::Critical)
    {
        return {false, message, title, icon, detail, Kind::Failure};
    }
    static Outcome Information(const QString& message, const QString& title,
                               MsgIcon icon = MsgIcon::Information)
    {
        return {true, message, title, icon, {}, Kind::Information};
    }
};
