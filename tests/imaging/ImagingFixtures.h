#pragma once
// Pictures and checks shared by the image writing tests.
#include "support/ScriptedPrompts.h"

#include <QImage>
#include <QString>

#include <deque>
#include <memory>

// Four coloured quadrants (red top-left, green top-right, blue bottom-left, white bottom-right)
// with a small black mark near the top-left corner, so mirrored rows or swapped channels show.
QImage QuadrantPicture(int width, int height, QImage::Format format = QImage::Format_RGB32);
// A picture full of fine detail, where the JPEG quality changes the file size markedly.
QImage DetailedPicture(int width, int height);

// ImageMagick's identify with a -format string, trimmed; empty when identify fails.
QString Identify(const QString& path, const QString& format);

// Scripted prompts whose save dialogs also report the filter entry the user chose, as a real
// dialog does (the plain scripted answerer leaves FilterIndex as it was set).
class FilterScriptedPrompts : public ScriptedPrompts {
public:
    void QueueSave(const QString& path, int filterIndex)
    {
        QueueFile(path);
        filterIndexes_.push_back(filterIndex);
    }
    bool ShowSave(CommonDialog& dialog) override;

    // What the last save dialog was given before it was shown.
    struct Seen {
        long flags = 0;
        QString title, defaultExt, filter;
        QString fileName;   // the name it started with
        int filterIndex = -1;
        bool cancelError = true;
    } seen;

private:
    std::deque<int> filterIndexes_;
};

// Installs a FilterScriptedPrompts for one test and restores the previous prompts.
class ScopedFilterPrompts {
public:
    ScopedFilterPrompts();
    ~ScopedFilterPrompts();
    FilterScriptedPrompts* operator->() { return prompts_; }
private:
    FilterScriptedPrompts* prompts_;
    std::unique_ptr<Prompts> previous_;
};
