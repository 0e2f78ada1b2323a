#pragma once
// The common file dialog as the windows use it: a set of properties read and written around
// ShowOpen / ShowSave. The dialog itself comes from the installed Prompts (Qt dialogs in the
// program, a scripted answerer in tests).
#include <QString>

class CommonDialog {
public:
    QString Filter;          // "Description|pattern|Description|pattern..."
    int FilterIndex = 1;     // 1-based
    QString FileName;
    QString FileTitle;
    long Flags = 0;
    QString DialogTitle;
    QString InitDir;
    QString DefaultExt;
    bool CancelError = false;

    // Show the dialog. True when the user chose a file; on Cancel FileName and FileTitle are left
    // as they were and the result is false (callers with CancelError end their command).
    // A file name of another type than the one chosen in Filter, left from an earlier dialog, is
    // not proposed: an open dialog shows its folder without it, a save dialog the name with the
    // type's extension.
    bool ShowOpen();
    bool ShowSave();

private:
    bool show(bool save);
};
