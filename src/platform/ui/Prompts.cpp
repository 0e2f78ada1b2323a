#include "platform/ui/Prompts.h"

#include "platform/ui/CommonDialog.h"
#include "platform/ui/Outcome.h"
#include "platform/ui/FileDialogs.h"

#include <QtGlobal>

namespace {
// The answerer of a program with no window to show anything on.
class RefusingPrompts : public Prompts {
public:
    Answer MsgBox(const QString& prompt, MsgButtons buttons, const QString& title, MsgIcon) override
    {
        qWarning("KIVRA: no window to ask \"%s\" (%s): refused", qUtf8Printable(prompt),
                 qUtf8Printable(title));
        return RefusingAnswer(buttons);
    }
    QString InputBox(const QString& prompt, const QString&, const QString&) override
    {
        qWarning("KIVRA: no window to ask \"%s\": cancelled", qUtf8Printable(prompt));
        return QString();
    }
    bool ShowOpen(CommonDialog& dialog) override { return refuse(dialog); }
    bool ShowSave(CommonDialog& dialog) override { return refuse(dialog); }

private:
    static bool refuse(const CommonDialog& dialog)
    {
        qWarning("KIVRA: no window for the file dialog \"%s\": cancelled",
                 qUtf8Printable(dialog.DialogTitle));
        return false;
    }
};

std::unique_ptr<Prompts>& current()
{
    static std::unique_ptr<Prompts> prompts = std::make_unique<RefusingPrompts>();
    return prompts;
}
}

Prompts& Prompts::Current() { return *current(); }

std::unique_ptr<Prompts> Prompts::Install(std::unique_ptr<Prompts> prompts)
{
    std::unique_ptr<Prompts> previous = std::move(current());
    current() = prompts ? std::move(prompts) : std::make_unique<RefusingPrompts>();
    return previous;
}

Answer DefaultAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OK:
    case MsgButtons::OKCancel: return Answer::OK;
    case MsgButtons::AbortRetryIgnore: return Answer::Abort;
    case MsgButtons::YesNoCancel:
    case MsgButtons::YesNo: return Answer::Yes;
    case MsgButtons::RetryCancel: return Answer::Retry;
    }
    return Answer::OK;
}

Answer RefusingAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OK: return Answer::OK;
    case MsgButtons::OKCancel:
    case MsgButtons::YesNoCancel:
    case MsgButtons::RetryCancel: return Answer::Cancel;
    case MsgButtons::AbortRetryIgnore: return Answer::Abort;
    case MsgButtons::YesNo: return Answer::No;
    }
    return Answer::Cancel;
}

void ReportFailure(const Outcome& outcome)
{
    if (!outcome.ok) Report(outcome);
}

Answer Report(const Outcome& outcome)
{
    if (outcome.kind == Outcome::Kind::Success) return Answer::OK;
    return Prompts::Current().MsgBox(outcome.message, outcome.buttons, outcome.title, outcome.icon());
}

Ask AskThroughPrompts()
{
    return [](const Outcome& question) { return Report(question); };
}

// The dialog is shared by the windows and remembers the last file chosen; a name of another type
// is not proposed (FileNameForType). Cancel leaves every property as it was.
bool CommonDialog::show(bool save)
{
    CommonDialog shown = *this;
    const ProposedFile proposed = FileNameForType(FileName, Filter, FilterIndex, save);
    shown.FileName = proposed.fileName;
    if (shown.InitDir.isEmpty() && !proposed.folder.isEmpty()) shown.InitDir = proposed.folder;
    if (!(save ? Prompts::Current().ShowSave(shown) : Prompts::Current().ShowOpen(shown))) return false;
    shown.InitDir = InitDir;
    *this = shown;
    return true;
}

bool CommonDialog::ShowOpen() { return show(false); }
bool CommonDialog::ShowSave() { return show(true); }
