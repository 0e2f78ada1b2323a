#pragma once
// The file dialog wrappers the capture windows use: the dialog's flags, filter and file name in
// and out, with the platform dialog behind CommonDialog.
#include <QString>

// Flags of the file dialogs.
namespace dialogflags {
constexpr long ReadOnly = 0x1;
constexpr long OverwritePrompt = 0x2;
constexpr long HideReadOnly = 0x4;
constexpr long EnableHook = 0x20;
constexpr long EnableTemplate = 0x40;
constexpr long AllowMultiSelect = 0x200;
constexpr long FileMustExist = 0x1000;
}

struct FileDialogArgs {
    QString fileName;                 // in-out
    QString fileTitle;                // out
    bool fileMustExist = true;        // open dialogs
    bool multiSelect = false;         // open dialogs
    bool readOnly = false;            // open dialogs, in-out
    bool hideReadOnly = false;        // open dialogs
    bool overwritePrompt = true;      // save dialogs
    QString filter = "All (*.*)| *.*";  // in-out
    int filterIndex = 1;              // in-out
    QString initDir;
    QString dialogTitle;
    QString defaultExt;
    long owner = -1;                  // owner window, -1 for none
    long flags = 0;                   // in-out
};

bool OpenFileDialog(FileDialogArgs& args);
bool SaveFileDialog(FileDialogArgs& args);
// The video-preview variants: the same dialogs (Qt's dialogs have no preview pane).
bool OpenFileDialogPreview(FileDialogArgs& args);
bool SaveFileDialogPreview(FileDialogArgs& args);

// The flags an open or save dialog is shown with.
long OpenDialogFlags(const FileDialogArgs& args);
long SaveDialogFlags(const FileDialogArgs& args);
// The filter as the platform dialog takes it: every "|" and ":" becomes NUL, and two NULs end it.
QString ConvertFilter(const QString& filter);

// The display name of a file without its folder; empty for a path that names no file.
QString FileTitleOf(const QString& path);
// The n-th item (from 1) of a list of items separated by NUL characters; empty when missing.
QString NthItem(const QString& list, int n);

// The name a file dialog proposes for the type `filterIndex` (from 1) of `filter`
// ("Description|pattern|..."): a name of another type, left from an earlier dialog of the shared
// dialog, is not proposed. An open dialog then proposes no name (its folder stays, in `folder`);
// a save dialog proposes it with the type's extension in place of the other one.
struct ProposedFile {
    QString fileName;
    QString folder;   // where the dialog opens when the name was dropped; else empty
};
ProposedFile FileNameForType(const QString& fileName, const QString& filter, int filterIndex, bool save);
