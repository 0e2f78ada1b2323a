#pragma once
// A Prompts implementation for tests (a test double: it lives with the tests): answers come from queues filled by the test, and every
// message, input box and dialog shown is recorded.
#include "platform/ui/Prompts.h"

#include <deque>
#include <optional>
#include <vector>

class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        enum class Kind { Message, Input, Open, Save } kind;
        QString prompt;     // message or input prompt; the dialog title for file dialogs
        QString title;
        MsgButtons buttons = MsgButtons::OK;
        QString filter;     // file dialogs: the filter they were given
        QString defaultExt; // file dialogs: the default extension they were given
        QString fileName;   // file dialogs: the name they proposed
        QString initDir;    // file dialogs: the folder they were to open in
        MsgIcon icon = MsgIcon::None;   // message boxes: the icon they showed
    };

    // Answers in turn; an empty queue answers with the button set's first answer.
    void QueueAnswer(Answer answer) { answers_.push_back(answer); }
    // Input box answers; an empty queue answers "" (Cancel).
    void QueueInput(const QString& text) { inputs_.push_back(text); }
    // File dialog answers: a path, or std::nullopt for Cancel; an empty queue cancels.
    void QueueFile(std::optional<QString> path) { files_.push_back(std::move(path)); }

    Answer MsgBox(const QString& prompt, MsgButtons buttons, const QString& title,
                  MsgIcon icon) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    bool ShowOpen(CommonDialog& dialog) override;
    bool ShowSave(CommonDialog& dialog) override;

    const std::vector<Shown>& shown() const { return shown_; }
    // The prompts of the message boxes shown so far.
    QStringList messages() const;
    int count(const QString& prompt) const;
    void clear() { shown_.clear(); }

private:
    bool answerFile(CommonDialog& dialog, Shown::Kind kind);

    std::deque<Answer> answers_;
    std::deque<QString> inputs_;
    std::deque<std::optional<QString>> files_;
    std::vector<Shown> shown_;
};

// Installs a ScriptedPrompts for the lifetime of this object and restores the previous one.
class ScopedScriptedPrompts {
public:
    ScopedScriptedPrompts();
    ~ScopedScriptedPrompts();
    ScriptedPrompts& operator*() { return *prompts_; }
    ScriptedPrompts* operator->() { return prompts_; }
private:
    ScriptedPrompts* prompts_;
    std::unique_ptr<Prompts> previous_;
};
