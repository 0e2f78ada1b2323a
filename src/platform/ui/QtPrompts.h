#pragma once
// The Prompts of the running program: Qt message boxes, input dialogs and file dialogs.
#include "platform/ui/Prompts.h"

class QWidget;

class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    Answer MsgBox(const QString& prompt, MsgButtons buttons, const QString& title,
                  MsgIcon icon) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    bool ShowOpen(CommonDialog& dialog) override;
    bool ShowSave(CommonDialog& dialog) override;

private:
    bool showFileDialog(CommonDialog& dialog, bool save);
    QWidget* owner_;
};

// "Description|pattern|..." as the name filters of a Qt file dialog ("Description (pattern)").
QStringList QtNameFilters(const QString& filter);
