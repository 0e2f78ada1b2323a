#pragma once
// Message boxes, input boxes and file dialogs go through this one interface. The program installs
// the Qt implementation; tests install a scripted one that answers in turn and records every
// message shown. Only windows use it: logic returns an Outcome, or asks through an Ask handed in.
#include "platform/ui/Outcome.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class CommonDialog;

class Prompts {
public:
    virtual ~Prompts() = default;

    virtual Answer MsgBox(const QString& prompt, MsgButtons buttons = MsgButtons::OK,
                          const QString& title = QString(), MsgIcon icon = MsgIcon::None) = 0;
    // The typed text; an empty text when the user cancels.
    virtual QString InputBox(const QString& prompt, const QString& title = QString(),
                             const QString& defaultText = QString()) = 0;
    // File dialogs: fill dialog.FileName (and FileTitle, FilterIndex) and return true, or return
    // false when the user cancels.
    virtual bool ShowOpen(CommonDialog& dialog) = 0;
    virtual bool ShowSave(CommonDialog& dialog) = 0;

    // The implementation in use. Before one is installed (no window shows anything), one that
    // refuses: every question gets its negative answer (OK for a plain message), every input box
    // and dialog is cancelled, and each prompt is logged as a warning.
    static Prompts& Current();
    // Installs an implementation and returns the previous one.
    static std::unique_ptr<Prompts> Install(std::unique_ptr<Prompts> prompts);
};

// The first answer of a button set (what a dialog answers when the user just presses Enter).
Answer DefaultAnswer(MsgButtons buttons);
// The answer that declines: OK, Cancel, Abort or No.
Answer RefusingAnswer(MsgButtons buttons);

// Shows a failed outcome's message box; nothing for a success.
void ReportFailure(const Outcome& outcome);
// Shows the message box of an outcome that has one (a failure, an information or a question) and
// returns the answer: OK for a plain message and for a success, which shows nothing.
Answer Report(const Outcome& outcome);

// A question a logic routine asks while it works (go on waiting? read that many samples?), made
// with Outcome::Question: the window hands in AskThroughPrompts(), a test its own answers.
using Ask = std::function<Answer(const Outcome& question)>;
// Asks through the installed Prompts.
Ask AskThroughPrompts();
