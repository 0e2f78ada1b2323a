#include "platform/ui/FileDialogs.h"

#include "platform/ui/CommonDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
constexpr long kCallerMask = ~(dialogflags::EnableHook | dialogflags::EnableTemplate);
constexpr int kFileNameBuffer = 1024;
constexpr int kFileTitleBuffer = 512;

QString upToNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

// The filter of the converted list back in the "Description|pattern" form the dialogs read.
QString dialogFilter(const QString& converted)
{
    QStringList items = converted.split(QChar(0));
    while (!items.isEmpty() && items.last().isEmpty()) items.removeLast();
    return items.join('|');
}

bool show(FileDialogArgs& args, long flags, bool save)
{
    const QString converted = ConvertFilter(args.filter);
    CommonDialog dialog;
    dialog.Filter = dialogFilter(converted);
    dialog.FilterIndex = args.filterIndex;
    dialog.FileName = args.fileName.left(kFileNameBuffer - 1);
    dialog.Flags = flags;
    dialog.DialogTitle = args.dialogTitle;
    dialog.InitDir = args.initDir;
    dialog.DefaultExt = args.defaultExt;
    const bool chosen = save ? dialog.ShowSave() : dialog.ShowOpen();
    if (!chosen) {
        args.fileName.clear();
        args.fileTitle.clear();
        args.filter.clear();
        args.flags = 0;
        args.filterIndex = -1;
        return false;
    }
    // Several chosen files come as a NUL-separated list: keep it whole for NthItem.
    args.fileName = (flags & dialogflags::AllowMultiSelect) ? dialog.FileName
                                                           : upToNul(dialog.FileName);
    args.fileTitle = upToNul(dialog.FileTitle).left(kFileTitleBuffer - 1);
    args.filterIndex = dialog.FilterIndex;
    // The chosen filter: the description of the chosen pair.
    args.filter = NthItem(converted, 2 * dialog.FilterIndex - 1);
    args.flags = dialog.Flags;
    if (!save) args.readOnly = (dialog.Flags & dialogflags::ReadOnly) != 0;
    return true;
}
}

long OpenDialogFlags(const FileDialogArgs& a)
{
    long flags = a.flags & kCallerMask;
    if (a.fileMustExist) flags |= dialogflags::FileMustExist;
    if (a.multiSelect) flags |= dialogflags::AllowMultiSelect;
    if (a.readOnly) flags |= dialogflags::ReadOnly;
    if (a.hideReadOnly) flags |= dialogflags::HideReadOnly;
    return flags;
}

long SaveDialogFlags(const FileDialogArgs& a)
{
    long flags = (a.flags & kCallerMask) | dialogflags::HideReadOnly;
    if (a.overwritePrompt) flags |= dialogflags::OverwritePrompt;
    return flags;
}

QString ConvertFilter(const QString& filter)
{
    QString out = filter;
    for (QChar& c : out)
        if (c == '|' || c == ':') c = QChar(0);
    return out + QChar(0) + QChar(0);
}

bool OpenFileDialog(FileDialogArgs& args) { return show(args, OpenDialogFlags(args), false); }
bool SaveFileDialog(FileDialogArgs& args) { return show(args, SaveDialogFlags(args), true); }
bool OpenFileDialogPreview(FileDialogArgs& args) { return OpenFileDialog(args); }
bool SaveFileDialogPreview(FileDialogArgs& args) { return SaveFileDialog(args); }

QString FileTitleOf(const QString& path)
{
    if (path.isEmpty() || path.endsWith('/') || path.endsWith('\\')) return QString();
    const QString name = QFileInfo(path).fileName();
    return name.size() < 1024 ? name : QString();
}

QString NthItem(const QString& list, int n)
{
    if (n < 1) return QString();
    const QStringList items = list.split(QChar(0));
    return n <= items.size() ? items[n - 1] : QString();
}

ProposedFile FileNameForType(const QString& fileName, const QString& filter, int filterIndex, bool save)
{
    const QStringList parts = filter.split('|');
    const int at = 2 * (filterIndex < 1 ? 1 : filterIndex) - 1;
    if (fileName.isEmpty() || at >= parts.size()) return {fileName, {}};
    const QStringList patterns = parts[at].split(QRegularExpression("[; ]"), Qt::SkipEmptyParts);
    const QFileInfo file(fileName);
    const QString name = file.fileName();
    if (name.isEmpty() || name.contains(QChar(0))) return {fileName, {}};
    for (const QString& pattern : patterns) {
        if (pattern == "*" || pattern == "*.*") return {fileName, {}};
        if (QDir::match(pattern, name)) return {fileName, {}};   // case does not count
    }
    if (save) {
        // Another type's extension gives way to this type's one; a name without one stays.
        static const QRegularExpression extension("^[A-Za-z0-9]{1,4}$");
        const QString suffix = file.suffix();
        const bool single = patterns.size() == 1 && patterns[0].startsWith("*.") &&
                            !patterns[0].mid(2).contains('*');
        if (suffix.isEmpty() || !extension.match(suffix).hasMatch() || !single) return {fileName, {}};
        return {fileName.left(fileName.size() - suffix.size()) + patterns[0].mid(2), {}};
    }
    return {QString(), file.path() == "." && !fileName.startsWith("./") ? QString() : file.path()};
}
