#pragma once
// The outcome of an operation, as logic code returns it: on failure, when the operation has
// something to tell (a batch's report), or when it needs an answer to go on (a question), the
// message box a window shows for it (text, title, icon, buttons) and the cause in plain words for
// logs and tests. Logic never shows the box itself; windows pass the outcome to Report or
// ReportFailure (Prompts.h), and a question handed to an Ask comes back as the answer.
//
// The kind owns the icon: a failure shows the critical icon, an information the information icon,
// a question the question mark. A message the design shows with another icon (or none) keeps
// that icon, given when the outcome is made.
#include <QString>
#include <optional>

enum class MsgButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct Outcome {
    enum class Kind {
        Success,        // nothing to show
        Failure,        // the operation failed: ok is false
        Information,    // the operation went through and has a message to show
        Question,       // the operation asks before it goes on: shown with its buttons
    };
    bool ok = true;
    QString message;                  // the message box's text
    QString title;                    // the message box's title
    QString detail;                   // what went wrong ("cannot create the file", ...)
    Kind kind = Kind::Success;
    MsgButtons buttons = MsgButtons::OK;
    std::optional<MsgIcon> designIcon;   // the icon the design gives this message, if not its kind's

    // The icon of each kind.
    static constexpr MsgIcon KindIcon(Kind kind)
    {
        switch (kind) {
        case Kind::Failure: return MsgIcon::Critical;
        case Kind::Information: return MsgIcon::Information;
        case Kind::Question: return MsgIcon::Question;
        case Kind::Success: break;
        }
        return MsgIcon::None;
    }
    // The icon the box shows.
    MsgIcon icon() const { return designIcon.value_or(KindIcon(kind)); }

    static Outcome Success() { return {}; }
    static Outcome Failure(const QString& message, const QString& title, const QString& detail = {},
                           std::optional<MsgIcon> icon = {})
    {
        return {false, message, title, detail, Kind::Failure, MsgButtons::OK, icon};
    }
    static Outcome Information(const QString& message, const QString& title,
                               std::optional<MsgIcon> icon = {})
    {
        return {true, message, title, {}, Kind::Information, MsgButtons::OK, icon};
    }
    static Outcome Question(const QString& message, const QString& title, MsgButtons buttons,
                            std::optional<MsgIcon> icon = {})
    {
        return {true, message, title, {}, Kind::Question, buttons, icon};
    }
};
