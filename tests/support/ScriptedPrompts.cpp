#include "support/ScriptedPrompts.h"

#include "platform/ui/CommonDialog.h"

#include <QFileInfo>

Answer ScriptedPrompts::MsgBox(const QString& prompt, MsgButtons buttons, const QString& title,
                               MsgIcon icon)
{
    Shown shown{Shown::Kind::Message, prompt, title, buttons, {}, {}};
    shown.icon = icon;
    shown_.push_back(shown);
    if (answers_.empty()) return DefaultAnswer(buttons);
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

QString ScriptedPrompts::InputBox(const QString& prompt, const QString& title, const QString&)
{
    shown_.push_back({Shown::Kind::Input, prompt, title, MsgButtons::OKCancel, {}, {}});
    if (inputs_.empty()) return QString();
    const QString t = inputs_.front();
    inputs_.pop_front();
    return t;
}

bool ScriptedPrompts::answerFile(CommonDialog& dialog, Shown::Kind kind)
{
    shown_.push_back({kind, dialog.DialogTitle, dialog.DialogTitle, MsgButtons::OK, dialog.Filter,
                      dialog.DefaultExt, dialog.FileName, dialog.InitDir});
    if (files_.empty() || !files_.front()) {
        if (!files_.empty()) files_.pop_front();
        return false;
    }
    dialog.FileName = *files_.front();
    dialog.FileTitle = QFileInfo(dialog.FileName).fileName();
    files_.pop_front();
    return true;
}

bool ScriptedPrompts::ShowOpen(CommonDialog& dialog) { return answerFile(dialog, Shown::Kind::Open); }
bool ScriptedPrompts::ShowSave(CommonDialog& dialog) { return answerFile(dialog, Shown::Kind::Save); }

QStringList ScriptedPrompts::messages() const
{
    QStringList out;
    for (const Shown& s : shown_)
        if (s.kind == Shown::Kind::Message) out << s.prompt;
    return out;
}

int ScriptedPrompts::count(const QString& prompt) const { return int(messages().count(prompt)); }

ScopedScriptedPrompts::ScopedScriptedPrompts()
{
    auto p = std::make_unique<ScriptedPrompts>();
    prompts_ = p.get();
    previous_ = Prompts::Install(std::move(p));
}

ScopedScriptedPrompts::~ScopedScriptedPrompts() { Prompts::Install(std::move(previous_)); }
